#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <chrono>
#include <cstdint>
#include <random>

namespace tabulon::sim {

// How often the chaos register misbehaves, in parts per thousand: per byte for
// the byte faults, per answer for the others.
struct ChaosRates {
    int garble = 3;          // an answer byte comes out changed
    int drop = 3;            // an answer byte is lost
    int duplicate = 3;       // an answer byte comes twice
    int insert = 3;          // a stray byte follows an answer byte
    int pause = 5;           // a pause before an answer byte, short or past the time-out
    int late = 20;           // the whole answer comes only after the computer's time-out
    int silentMidLine = 20;  // the answer stops partway, past the time-out, then goes on
    int deafSpell = 5;       // the answer breaks off and the register hears and says
                             // nothing for a second or more, then comes back
    int mishear = 1;         // a byte the computer sent reaches the register changed
};

// What the chaos did, for a soak to report.
struct ChaosCounts {
    int answers = 0;
    int garbled = 0;
    int dropped = 0;
    int duplicated = 0;
    int inserted = 0;
    int paused = 0;
    int late = 0;
    int silentMidLine = 0;
    int deafSpells = 0;
    int misheard = 0;
    int unheard = 0;  // computer bytes lost to a deaf spell
    // The answers' pauses added up: the longest the computer can have spent
    // waiting for bytes that were on their way.
    std::chrono::nanoseconds pauses{0};
};

// A register on a bad line, from a seed: the same seed and the same traffic
// give the same faults, so a run that went wrong can be run again. It stands
// between the register and the line: what the register hears of the
// computer, and how its answers come out, each piece after a pause.
class Chaos {
public:
    using Duration = std::chrono::nanoseconds;

    // Bytes of an answer that go out together after a pause.
    struct Piece {
        Duration pause{0};
        QByteArray bytes;
    };

    // A pause past the computer's 300 ms wait for a byte is at most this long.
    static constexpr Duration kLongestPause = std::chrono::milliseconds(1500);
    // The longest a deaf spell lasts.
    static constexpr Duration kLongestDeafSpell = std::chrono::milliseconds(3000);
    // An answer byte comes out at most this many times (itself, then a copy or a
    // stray byte), so an answer never grows past this many times its length.
    static constexpr int kMostBytesPerByte = 2;

    explicit Chaos(std::uint64_t seed, ChaosRates rates = {});

    // What the register hears of bytes the computer sent at `now`.
    QByteArray heard(QByteArrayView bytes, Duration now);
    // How the register's answer, made at `now`, goes onto the line.
    QList<Piece> spoken(QByteArrayView answer, Duration now);

    std::uint64_t seed() const { return seed_; }
    const ChaosCounts& counts() const { return counts_; }

private:
    bool chance(int perMille);
    Duration between(std::chrono::milliseconds shortest, std::chrono::milliseconds longest);
    Duration longPause();
    std::uint8_t strayByte();

    std::uint64_t seed_;
    ChaosRates rates_;
    std::mt19937_64 random_;
    Duration deafUntil_{0};
    ChaosCounts counts_;
};

}  // namespace tabulon::sim
