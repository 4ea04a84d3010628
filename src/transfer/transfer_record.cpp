#include "transfer/transfer_record.h"

#include <algorithm>

#include "link/network_address.h"
#include "link/register_link.h"

namespace tabulon::transfer {

bool neverSent(link::ResultCause cause) {
    return cause == link::ResultCause::PortNotOpen || cause == link::ResultCause::ServerUnreachable;
}

RecordTransfer::RecordTransfer(link::RegisterLink& link, const Connection& connection,
                               RunDialogs& dialogs, RunControl& control)
    : link_(link), connection_(connection), dialogs_(dialogs), control_(control) {}

void RecordTransfer::reopenPort() {
    // A port that fails to open shows up as failing records; the results
    // tell nothing more.
    link_.ClosePort(connection_.port);
    link_.OpenPort(connection_.port, connection_.speed);
}

void RecordTransfer::pause(std::chrono::milliseconds length) {
    // In short steps, so that a program that closes need not wait.
    using namespace std::chrono_literals;
    for (auto left = length; left > 0ms && !control_.cancelled; left -= kFirstReopenPause)
        link_.clock().sleepFor(std::min(left, kFirstReopenPause));
}

bool RecordTransfer::reopenAfterPauses() {
    std::chrono::milliseconds waited{0};
    for (auto next = kFirstReopenPause;; next *= 2) {
        if (control_.cancelled) return false;
        if (link_.OpenPort(connection_.port, connection_.speed) >= 0) return true;
        // A server that is not there at all costs its connect time-out once.
        if (const auto failure = link_.openServerFailure();
            failure && !link::passingFailure(*failure))
            return false;
        if (waited >= kReopenWait) return false;
        const auto length = std::min(next, kReopenWait - waited);
        pause(length);
        waited += length;
    }
}

RecordOutcome RecordTransfer::transfer(int record, const std::function<int()>& attempt,
                                       bool resetAfterSkip) {
    lastCause_.reset();
    for (;;) {
        // Openings that worked but left the port closed again before an
        // attempt could send (a server that hangs up at once): bounded too.
        int reopened = 0;
        for (int sent = 0; sent < kAttemptsPerSeries;) {
            if (control_.cancelled) return RecordOutcome::Abandoned;
            lastResult_ = attempt();
            if (lastResult_ >= 0) {
                lastCause_.reset();
                return RecordOutcome::Done;
            }
            // Taken before the dialog: reopening the port has causes of its own.
            lastCause_ = link_.lastCause();
            lastRefusal_ = link_.lastRefusal();
            if (lastCause_ != link::ResultCause::PortNotOpen) {
                ++sent;
                continue;
            }
            // Nothing went out: no attempt at the record, and no fault of the
            // register. Its port is waited for instead.
            if (++reopened <= kAttemptsPerSeries && reopenAfterPauses()) continue;
            if (link::isNetworkAddress(link_.openDevice()))
                lastCause_ = link::ResultCause::ServerUnreachable;
            break;
        }
        if (control_.cancelled) return RecordOutcome::Abandoned;
        if (const std::optional<RecordOutcome> outcome = afterFailure(record, resetAfterSkip))
            return *outcome;
    }
}

std::optional<RecordOutcome> RecordTransfer::afterDifference(int record, bool resetAfterSkip) {
    // The exchanges went well: there is no link cause to name.
    lastResult_ = 0;
    lastCause_.reset();
    lastRefusal_.clear();
    return afterFailure(record, resetAfterSkip);
}

std::optional<RecordOutcome> RecordTransfer::afterFailure(int record, bool resetAfterSkip) {
    const link::ResultCause cause = lastCause_.value_or(link::ResultCause::Done);
    FailureAnswer answer = FailureAnswer::Skip;
    if (skipLater_ && !neverSent(cause))
        dialogs_.tellSkipped(record, lastResult_, cause, lastRefusal_);
    else
        answer = dialogs_.askAfterFailedRecord(record, lastResult_, cause, lastRefusal_);
    switch (answer) {
        case FailureAnswer::SkipLater:
            skipLater_ = true;
            [[fallthrough]];
        case FailureAnswer::Skip:
            reopenPort();
            if (resetAfterSkip) link_.ResetLink();
            return RecordOutcome::Skipped;
        case FailureAnswer::Retry:
            reopenPort();
            return std::nullopt;
        case FailureAnswer::End:
            control_.stopRequested = true;
            return RecordOutcome::Abandoned;
        case FailureAnswer::Dismissed:
            return RecordOutcome::Abandoned;
    }
    return RecordOutcome::Abandoned;
}

}  // namespace tabulon::transfer
