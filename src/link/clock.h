#pragma once

#include <chrono>
#include <memory>

namespace tabulon::link {

// The monotonic clock of the reset pause, injectable so the pause (and the read
// time-outs of a simulated line) cost no real time in tests.
class Clock {
public:
    using Duration = std::chrono::nanoseconds;

    virtual ~Clock() = default;
    virtual Duration now() const = 0;
    virtual void sleepFor(Duration duration) = 0;
};

class SteadyClock final : public Clock {
public:
    Duration now() const override;
    void sleepFor(Duration duration) override;
};

// Time that passes only when someone sleeps or advances it.
class VirtualClock final : public Clock {
public:
    Duration now() const override { return now_; }
    void sleepFor(Duration duration) override { now_ += duration; }
    void advance(Duration duration) { now_ += duration; }

private:
    Duration now_{0};
};

std::shared_ptr<Clock> steadyClock();

}  // namespace tabulon::link
