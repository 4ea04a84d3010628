#include "transfer/transfer_record.h"

#include "link/register_link.h"

namespace tabulon::transfer {

RecordTransfer::RecordTransfer(link::RegisterLink& link, const Connection& connection,
                               RunDialogs& dialogs, RunControl& control)
    : link_(link), connection_(connection), dialogs_(dialogs), control_(control) {}

void RecordTransfer::reopenPort() {
    // A port that fails to open shows up as failing records; the results
    // tell nothing more.
    link_.ClosePort(connection_.port);
    link_.OpenPort(connection_.port, connection_.speed);
}

RecordOutcome RecordTransfer::transfer(int record, const std::function<int()>& attempt,
                                       bool resetAfterSkip) {
    lastCause_.reset();
    for (;;) {
        for (int i = 0; i < kAttemptsPerSeries; ++i) {
            if (control_.cancelled) return RecordOutcome::Abandoned;
            lastResult_ = attempt();
            if (lastResult_ >= 0) {
                lastCause_.reset();
                return RecordOutcome::Done;
            }
            // Taken before the dialog: reopening the port has causes of its own.
            lastCause_ = link_.lastCause();
            lastRefusal_ = link_.lastRefusal();
        }
        if (control_.cancelled) return RecordOutcome::Abandoned;
        switch (dialogs_.askAfterFailedRecord(
            record, lastResult_, lastCause_.value_or(link::ResultCause::Done), lastRefusal_)) {
            case FailureAnswer::Skip:
                reopenPort();
                if (resetAfterSkip) link_.ResetLink();
                return RecordOutcome::Skipped;
            case FailureAnswer::Retry:
                reopenPort();
                continue;
            case FailureAnswer::End:
                control_.stopRequested = true;
                return RecordOutcome::Abandoned;
            case FailureAnswer::Dismissed:
                return RecordOutcome::Abandoned;
        }
    }
}

}  // namespace tabulon::transfer
