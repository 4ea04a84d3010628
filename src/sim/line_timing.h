#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <chrono>
#include <optional>

#include "sim/chaos.h"
#include "sim/sim_options.h"

namespace tabulon::sim {

using LineClock = std::chrono::steady_clock;

// Past the computer's 300 ms wait for a byte: by the time a late reply comes
// the computer has given the exchange up and may already be selecting again.
inline constexpr std::chrono::milliseconds kLateReplyDelay{400};

// A line of a set speed: each byte takes 11 bit times (start, 8 data, 2
// stop), one direction at a time as the register's protocol uses it. A
// pseudo-terminal or a socket carries bytes at once; this holds them to what
// the wire would allow.
class LinePace {
public:
    // Answers go out a few bytes at a time, each group once the line has
    // carried it.
    static constexpr qsizetype kGroup = 4;

    explicit LinePace(int baud) : byteTime_(std::chrono::nanoseconds(11'000'000'000LL / baud)) {}

    // Bytes that were read at `now`: they have all arrived once the line has
    // carried them, counted from when it was last free.
    LineClock::time_point heard(LineClock::time_point now, qsizetype count);
    // Bytes sent from `now`: when each group of kGroup (the last may be
    // shorter) has been carried.
    QList<LineClock::time_point> sent(LineClock::time_point now, qsizetype count);
    // What the line was still carrying is gone: it is free from now.
    void cutOff() { free_ = {}; }

private:
    LineClock::duration byteTime_;
    LineClock::time_point free_{};
};

// Bytes to be written when their time comes.
struct TimedBytes {
    LineClock::time_point due;
    QByteArray bytes;
};

// How a served line carries the register's traffic: at its --pace, and on a
// --chaos line garbled and broken up. Whoever serves the line only waits for
// the times this gives, with a sleep or with a timer.
class LineTiming {
public:
    explicit LineTiming(const SimOptions& options);

    // When `count` bytes read at `now` have all come in.
    LineClock::time_point arrival(LineClock::time_point now, qsizetype count);
    // What the register hears of bytes that came in at `now`.
    QByteArray heard(QByteArrayView bytes, LineClock::time_point now);
    // The register's answer going out from `now`, in the order written.
    QList<TimedBytes> spoken(QByteArrayView answer, LineClock::time_point now);
    // The client went: what was on its way is dropped, not waited for.
    void cutOff() {
        if (pace_) pace_->cutOff();
    }

private:
    std::optional<LinePace> pace_;
    std::optional<Chaos> chaos_;
    LineClock::time_point started_ = LineClock::now();
};

}  // namespace tabulon::sim
