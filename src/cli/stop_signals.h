#pragma once

#include <cstddef>

namespace tabulon::transfer {
struct RunControl;
}

namespace tabulon::cli {

// While it lives, Ctrl-C (SIGINT) and SIGTERM ask the run to stop between two
// records, as "Стоп" does: the exchange in hand is finished (a record that
// fails is not tried again) and the registers are released, so no register
// is left selected. A second signal ends the program at once. On Windows the
// console's Ctrl-C and Ctrl-Break do the same.
//
// Several may live at once, on several threads (a fleet of registers, each
// run on its own line): a signal stops every run whose guard is alive, and
// the handlers stay until the last guard is gone.
class StopOnSignals {
public:
    explicit StopOnSignals(transfer::RunControl& control);
    ~StopOnSignals();
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

    // A signal came while it lived.
    bool caught() const;

private:
    size_t slot_ = 0;  // where its run is listed for the handler
    unsigned signalsBefore_ = 0;
};

}  // namespace tabulon::cli
