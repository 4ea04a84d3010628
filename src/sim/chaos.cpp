#include "sim/chaos.h"

namespace tabulon::sim {

namespace {

using namespace std::chrono_literals;

// The computer waits 300 ms for each byte; a short pause stays well inside
// that, a long one is well past it.
constexpr auto kLongestShortPause = 250ms;
constexpr auto kShortestLongPause = 350ms;

}  // namespace

Chaos::Chaos(std::uint64_t seed, ChaosRates rates) : seed_(seed), rates_(rates), random_(seed) {}

bool Chaos::chance(int perMille) {
    if (perMille <= 0) return false;
    return std::uniform_int_distribution<int>(0, 999)(random_) < perMille;
}

Chaos::Duration Chaos::between(std::chrono::milliseconds shortest,
                               std::chrono::milliseconds longest) {
    return std::chrono::milliseconds(
        std::uniform_int_distribution<long long>(shortest.count(), longest.count())(random_));
}

Chaos::Duration Chaos::longPause() {
    return between(kShortestLongPause,
                   std::chrono::duration_cast<std::chrono::milliseconds>(kLongestPause));
}

std::uint8_t Chaos::strayByte() {
    // Line noise, and now and then a byte the protocol means something by.
    static constexpr std::uint8_t kMeaningful[] = {0x06, 0x0A, 0x0D, 0x11, 0x13,
                                                   0x15, 0xFF, 'E',  ';'};
    if (chance(500)) {
        return kMeaningful[std::uniform_int_distribution<std::size_t>(
            0, std::size(kMeaningful) - 1)(random_)];
    }
    return std::uint8_t(std::uniform_int_distribution<int>(0, 255)(random_));
}

QByteArray Chaos::heard(QByteArrayView bytes, Duration now) {
    if (now < deafUntil_) {
        counts_.unheard += int(bytes.size());
        return {};
    }
    QByteArray out(bytes.data(), bytes.size());
    for (char& byte : out) {
        if (chance(rates_.mishear)) {
            byte = char(std::uint8_t(byte) ^ std::uint8_t(1 + random_() % 255));
            ++counts_.misheard;
        }
    }
    return out;
}

QList<Chaos::Piece> Chaos::spoken(QByteArrayView answer, Duration now) {
    QList<Piece> pieces;
    if (answer.isEmpty()) return pieces;
    if (now < deafUntil_) return pieces;
    ++counts_.answers;

    qsizetype breakAt = -1;   // where a deaf spell cuts the answer off
    qsizetype silentAt = -1;  // where it stops for a while and goes on
    Duration firstPause{0};
    if (chance(rates_.deafSpell)) {
        breakAt = std::uniform_int_distribution<qsizetype>(0, answer.size() - 1)(random_);
        deafUntil_ =
            now + between(1000ms,
                          std::chrono::duration_cast<std::chrono::milliseconds>(kLongestDeafSpell));
        ++counts_.deafSpells;
    } else if (answer.size() > 1 && chance(rates_.silentMidLine)) {
        silentAt = std::uniform_int_distribution<qsizetype>(1, answer.size() - 1)(random_);
        ++counts_.silentMidLine;
    } else if (chance(rates_.late)) {
        firstPause = longPause();
        ++counts_.late;
    }

    Piece piece{firstPause, {}};
    const auto startPiece = [&](Duration pause) {
        if (!piece.bytes.isEmpty() || piece.pause > Duration{0}) pieces << piece;
        piece = Piece{pause, {}};
    };
    for (qsizetype i = 0; i < answer.size(); ++i) {
        if (i == breakAt) break;
        if (i == silentAt) startPiece(longPause());
        if (chance(rates_.drop)) {
            ++counts_.dropped;
            continue;
        }
        if (chance(rates_.pause)) {
            ++counts_.paused;
            startPiece(chance(500) ? between(1ms, kLongestShortPause) : longPause());
        }
        std::uint8_t byte = std::uint8_t(answer[i]);
        if (chance(rates_.garble)) {
            byte ^= std::uint8_t(1 + random_() % 255);
            ++counts_.garbled;
        }
        piece.bytes += char(byte);
        if (chance(rates_.duplicate)) {
            piece.bytes += char(byte);
            ++counts_.duplicated;
        } else if (chance(rates_.insert)) {
            piece.bytes += char(strayByte());
            ++counts_.inserted;
        }
    }
    if (!piece.bytes.isEmpty()) pieces << piece;
    for (const Piece& each : pieces) counts_.pauses += each.pause;
    return pieces;
}

}  // namespace tabulon::sim
