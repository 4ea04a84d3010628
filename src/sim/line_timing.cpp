#include "sim/line_timing.h"

#include <algorithm>

namespace tabulon::sim {

LineClock::time_point LinePace::heard(LineClock::time_point now, qsizetype count) {
    free_ = std::max(free_, now) + byteTime_ * count;
    return free_;
}

QList<LineClock::time_point> LinePace::sent(LineClock::time_point now, qsizetype count) {
    QList<LineClock::time_point> times;
    free_ = std::max(free_, now);
    for (qsizetype left = count; left > 0; left -= kGroup) {
        free_ += byteTime_ * std::min(kGroup, left);
        times << free_;
    }
    return times;
}

LineTiming::LineTiming(const SimOptions& options) {
    if (options.pace > 0) pace_.emplace(options.pace);
    if (options.chaosSeed) chaos_.emplace(*options.chaosSeed);
}

LineClock::time_point LineTiming::arrival(LineClock::time_point now, qsizetype count) {
    return pace_ ? pace_->heard(now, count) : now;
}

QByteArray LineTiming::heard(QByteArrayView bytes, LineClock::time_point now) {
    return chaos_ ? chaos_->heard(bytes, now - started_) : bytes.toByteArray();
}

QList<TimedBytes> LineTiming::spoken(QByteArrayView answer, LineClock::time_point now) {
    // On a bad line the answer goes out in pieces, each after its pause.
    QList<Chaos::Piece> pieces;
    if (chaos_)
        pieces = chaos_->spoken(answer, now - started_);
    else
        pieces << Chaos::Piece{{}, answer.toByteArray()};
    QList<TimedBytes> out;
    LineClock::time_point at = now;
    for (const Chaos::Piece& piece : pieces) {
        at += std::chrono::duration_cast<LineClock::duration>(piece.pause);
        if (piece.bytes.isEmpty()) continue;
        if (!pace_) {
            out << TimedBytes{at, piece.bytes};
            continue;
        }
        qsizetype start = 0;
        for (const LineClock::time_point due : pace_->sent(at, piece.bytes.size())) {
            out << TimedBytes{due, piece.bytes.mid(start, LinePace::kGroup)};
            start += LinePace::kGroup;
            at = due;
        }
    }
    return out;
}

}  // namespace tabulon::sim
