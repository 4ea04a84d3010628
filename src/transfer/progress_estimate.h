#pragma once

#include <QString>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

#include "link/clock.h"

namespace tabulon::transfer {

// What a long transfer has done and how long the rest will take:
// "1 234 из 10 000 · ещё ≈ 52 мин". The time left is said once the rate
// means something (some records done and a few seconds gone), and is left
// out before that and once everything is done.
QString progressText(int done, int total, std::chrono::nanoseconds elapsed);

// The time a transfer has taken so far, on a clock that any thread may read:
// the window starts it, the link's thread reads it as each record ends.
// While a question waits for the user the timer is paused: the minutes
// someone spends over an error dialog say nothing of how fast the line is.
class ProgressTimer {
public:
    explicit ProgressTimer(std::shared_ptr<link::Clock> clock);
    void start();
    void pause();
    void resume();
    std::chrono::nanoseconds elapsed() const;

private:
    std::shared_ptr<link::Clock> clock_;
    mutable std::mutex mutex_;
    link::Clock::Duration start_{0};
    std::optional<link::Clock::Duration> pausedAt_;
};

}  // namespace tabulon::transfer
