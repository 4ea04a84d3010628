#include "files/line_reader.h"

#include <QIODevice>

namespace tabulon::files {

namespace {
constexpr qsizetype kChunkBytes = 64 * 1024;
}

bool LineReader::ensure(qsizetype count) {
    while (buffer_.size() - pos_ < count && !atEnd_ && !failed_) {
        buffer_.remove(0, pos_);
        pos_ = 0;
        const qsizetype kept = buffer_.size();
        buffer_.resize(kept + kChunkBytes);
        const qint64 got = device_.read(buffer_.data() + kept, kChunkBytes);
        buffer_.resize(kept + qMax<qint64>(got, 0));
        if (got < 0) failed_ = true;
        if (got == 0) atEnd_ = true;
    }
    return buffer_.size() - pos_ >= count;
}

LineReader::Status LineReader::next(QByteArray& line) {
    line.resize(0);
    if (!cut_) ++fileLine_;
    cut_ = false;
    while (line.size() < kMaxLineBytes && ensure(1)) {
        // Take the plain bytes up to the next CR or LF in one piece.
        const char* data = buffer_.constData() + pos_;
        const qsizetype room = qMin(kMaxLineBytes - line.size(), buffer_.size() - pos_);
        qsizetype plain = 0;
        while (plain < room && data[plain] != '\n' && data[plain] != '\r') ++plain;
        line.append(data, plain);
        pos_ += plain;
        if (plain == room) continue;

        if (data[plain] == '\n') {
            ++pos_;
            line.append('\n');
            return Status::Line;
        }
        if (ensure(2) && buffer_[pos_ + 1] == '\n') {
            pos_ += 2;
            line.append('\n');
            return Status::Line;
        }
        // A CR on its own is data.
        ++pos_;
        line.append('\r');
    }
    if (failed_) return Status::Error;
    if (line.isEmpty()) return Status::End;
    // Full without its line feed, and the file goes on: the line was cut.
    cut_ = line.size() == kMaxLineBytes && ensure(1);
    return Status::Line;
}

}  // namespace tabulon::files
