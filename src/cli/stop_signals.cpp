#include "cli/stop_signals.h"

#include <QtGlobal>
#include <atomic>
#include <csignal>
#include <memory>
#include <mutex>
#include <vector>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include "transfer/run_parts.h"

namespace tabulon::cli {

namespace {

// The runs a signal stops: a table of lock-free pointers, which the handler
// may look at at any moment and without a lock. A fleet lists two runs for
// every line it works at once, so when the table is full a table twice as
// large takes its place; the old one is kept, as a handler that came in
// between may still be reading it.
struct StopTargets {
    explicit StopTargets(size_t count)
        : size(count), entries(std::make_unique<std::atomic<transfer::RunControl*>[]>(count)) {}
    const size_t size;
    const std::unique_ptr<std::atomic<transfer::RunControl*>[]> entries;
};
constexpr size_t kFirstSlots = 64;
std::atomic<StopTargets*> stopTargets{nullptr};
std::atomic<unsigned> signalsCaught{0};
// Guards alive; the handlers are set by the first and restored by the last.
std::mutex guardsMutex;
int guardsAlive = 0;
// Every table made, the one in use last; under guardsMutex.
std::vector<std::unique_ptr<StopTargets>> allTargets;

// Lists `control` in a free slot, making the table larger when there is none;
// under guardsMutex.
size_t listed(transfer::RunControl& control) {
    StopTargets* targets = stopTargets.load();
    if (targets != nullptr) {
        for (size_t slot = 0; slot < targets->size; ++slot) {
            transfer::RunControl* none = nullptr;
            if (targets->entries[slot].compare_exchange_strong(none, &control)) return slot;
        }
    }
    auto larger = std::make_unique<StopTargets>(targets ? targets->size * 2 : kFirstSlots);
    const size_t kept = targets ? targets->size : 0;
    for (size_t slot = 0; slot < kept; ++slot)
        larger->entries[slot] = targets->entries[slot].load();
    larger->entries[kept] = &control;
    stopTargets = larger.get();
    allTargets.push_back(std::move(larger));
    return kept;
}

// Only lock-free atomic loads and stores here: nothing else is safe in a
// handler.
void askToStop(int) {
    ++signalsCaught;
    StopTargets* targets = stopTargets.load();
    for (size_t slot = 0; targets != nullptr && slot < targets->size; ++slot) {
        if (transfer::RunControl* control = targets->entries[slot].load()) {
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
    static_assert(std::atomic<StopTargets*>::is_always_lock_free);
    const std::lock_guard lock(guardsMutex);
    signalsBefore_ = signalsCaught;
    slot_ = listed(control);
    if (guardsAlive++ == 0) catchSignals();
}

StopOnSignals::~StopOnSignals() {
    const std::lock_guard lock(guardsMutex);
    if (--guardsAlive == 0) restoreSignals();
    // Its slot is the same in every table that has it: a table is replaced
    // only under the lock, and the new one takes every slot over. The old
    // ones are cleared too, for a handler still reading one.
    for (const std::unique_ptr<StopTargets>& targets : allTargets) {
        if (slot_ < targets->size) targets->entries[slot_] = nullptr;
    }
}

bool StopOnSignals::caught() const {
    return signalsCaught != signalsBefore_;
}

}  // namespace tabulon::cli
