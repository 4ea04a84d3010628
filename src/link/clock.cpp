#include "link/clock.h"

#include <thread>

namespace tabulon::link {

Clock::Duration SteadyClock::now() const {
    return std::chrono::steady_clock::now().time_since_epoch();
}

void SteadyClock::sleepFor(Duration duration) {
    std::this_thread::sleep_for(duration);
}

std::shared_ptr<Clock> steadyClock() {
    static const auto clock = std::make_shared<SteadyClock>();
    return clock;
}

}  // namespace tabulon::link
