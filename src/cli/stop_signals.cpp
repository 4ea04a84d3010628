#include "cli/stop_signals.h"

#include <QtGlobal>
#include <atomic>
#include <csignal>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

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

#ifdef Q_OS_WIN

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    // Closing the console ends the program whatever a handler answers.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    // The second one goes on to the system's handler, which ends the program.
    if (signalCaught) return FALSE;
    askToStop(0);
    return TRUE;
}

void catchSignals() {
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
    signalCaught = 0;
    stopTarget = &control;
    catchSignals();
}

StopOnSignals::~StopOnSignals() {
    restoreSignals();
    stopTarget = nullptr;
}

bool StopOnSignals::caught() const {
    return signalCaught != 0;
}

}  // namespace tabulon::cli
