#include "cli/stop_signals.h"

#include <QtGlobal>
#include <array>
#include <atomic>
#include <csignal>
#include <mutex>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include "transfer/run_parts.h"

namespace tabulon::cli {

namespace {

// The runs a signal stops. A fixed table of lock-free pointers: the handler
// may look at it at any moment, and may take no lock.
constexpr int kSlots = 512;
std::array<std::atomic<transfer::RunControl*>, kSlots> stopTargets{};
std::atomic<unsigned> signalsCaught{0};
// Guards alive; the handlers are set by the first and restored by the last.
std::mutex guardsMutex;
int guardsAlive = 0;

// Only lock-free atomic loads and stores here: nothing else is safe in a
// handler.
void askToStop(int) {
    ++signalsCaught;
    for (std::atomic<transfer::RunControl*>& target : stopTargets) {
        if (transfer::RunControl* control = target.load()) {
            control->requestStop();
            // A record the register keeps refusing is not tried again: its
            // further attempts take seconds each on a silent line, long
            // enough for a second Ctrl-C to end the program in the middle of
            // one.
            control->cancelled = true;
        }
    }
}

#ifdef Q_OS_WIN

std::atomic<unsigned> signalsAtCatch{0};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    // Closing the console ends the program whatever a handler answers.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    // The second one goes on to the system's handler, which ends the program.
    if (signalsCaught.load() != signalsAtCatch.load()) return FALSE;
    askToStop(0);
    return TRUE;
}

void catchSignals() {
    signalsAtCatch = signalsCaught.load();
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void restoreSignals() {
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

#else

struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

void catchSignals() {
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;  // the second signal acts as if we were not here
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
}

void restoreSignals() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

#endif

}  // namespace

StopOnSignals::StopOnSignals(transfer::RunControl& control) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    static_assert(std::atomic<transfer::RunControl*>::is_always_lock_free);
    static_assert(std::atomic<unsigned>::is_always_lock_free);
    const std::lock_guard lock(guardsMutex);
    signalsBefore_ = signalsCaught;
    for (int slot = 0; slot < kSlots; ++slot) {
        transfer::RunControl* none = nullptr;
        if (stopTargets[size_t(slot)].compare_exchange_strong(none, &control)) {
            slot_ = slot;
            break;
        }
    }
    if (guardsAlive++ == 0) catchSignals();
}

StopOnSignals::~StopOnSignals() {
    const std::lock_guard lock(guardsMutex);
    if (--guardsAlive == 0) restoreSignals();
    if (slot_ >= 0) stopTargets[size_t(slot_)] = nullptr;
}

bool StopOnSignals::caught() const {
    return signalsCaught != signalsBefore_;
}

}  // namespace tabulon::cli
