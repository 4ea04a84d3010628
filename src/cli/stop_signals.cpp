#include "cli/stop_signals.h"

#include <atomic>

#include "transfer/run_parts.h"

namespace tabulon::cli {

namespace {

std::atomic<transfer::RunControl*> stopTarget{nullptr};
volatile std::sig_atomic_t signalCaught = 0;

// Only lock-free atomic stores here: nothing else is safe in a handler.
void askToStop(int) {
    signalCaught = 1;
    if (transfer::RunControl* control = stopTarget.load()) {
        control->requestStop();
        // A record the register keeps refusing is not tried again: its
        // further attempts take seconds each on a silent line, long enough
        // for a second Ctrl-C to end the program in the middle of one.
        control->cancelled = true;
    }
}

}  // namespace

StopOnSignals::StopOnSignals(transfer::RunControl& control) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    signalCaught = 0;
    stopTarget = &control;
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;  // the second signal acts as if we were not here
    sigaction(SIGINT, &action, &previousInterrupt_);
    sigaction(SIGTERM, &action, &previousTerminate_);
}

StopOnSignals::~StopOnSignals() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
    stopTarget = nullptr;
}

bool StopOnSignals::caught() const {
    return signalCaught != 0;
}

}  // namespace tabulon::cli
