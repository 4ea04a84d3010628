#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "link/result_codes.h"
#include "transfer/run_parts.h"

namespace tabulon::transfer {

// A record the link could not send at all (its port would not open, its
// server could not be reached): the register never tried it.
bool neverSent(link::ResultCause cause);

enum class RecordOutcome {
    Done,
    Skipped,    // the user skipped it; the port was reopened
    Abandoned,  // "Завершить операцию" (stop requested) or the dialog dismissed
};

// The policy every record of a table run, a parameter transfer and the report
// download goes by: series of ten attempts without a pause; after a failed
// series the user decides. A skip and a retry close and reopen the port of
// the connection first.
class RecordTransfer {
public:
    static constexpr int kAttemptsPerSeries = 10;
    // A port that is not open (a serial server restarting, a network that
    // dropped) is opened again after pauses that double from the first, for
    // about three connect time-outs in all, before the record is given up;
    // a server whose host does not resolve or answer is given up at once.
    static constexpr std::chrono::milliseconds kFirstReopenPause{250};
    static constexpr std::chrono::milliseconds kReopenWait{15000};

    RecordTransfer(link::RegisterLink& link, const Connection& connection, RunDialogs& dialogs,
                   RunControl& control);

    // `attempt` does one exchange and returns the link's result (0 or more:
    // done). Only an attempt that sent its bytes counts as one of the ten. `resetAfterSkip`: the
    // service parameters also send the release sequence and pause once the port is open again.
    RecordOutcome transfer(int record, const std::function<int()>& attempt,
                           bool resetAfterSkip = false);

    // A record that was written but reads back otherwise: decided as one the
    // line failed. Nullopt: "Повторить", the caller writes it again.
    std::optional<RecordOutcome> afterDifference(int record, bool resetAfterSkip = false);

    // The result of the last attempt.
    int lastResult() const { return lastResult_; }
    // Why the last attempt at the last record failed, as the link said;
    // nullopt when the record was done or no attempt was made.
    std::optional<link::ResultCause> lastCause() const { return lastCause_; }

private:
    // The user's answer after a failed series, or the answer SkipLater gave
    // for every later record. Nullopt: another series.
    std::optional<RecordOutcome> afterFailure(int record, bool resetAfterSkip);
    void reopenPort();
    // True once the port is open again; false after the whole wait or when
    // the program closes.
    bool reopenAfterPauses();
    void pause(std::chrono::milliseconds length);

    link::RegisterLink& link_;
    Connection connection_;
    RunDialogs& dialogs_;
    RunControl& control_;
    int lastResult_ = 0;
    std::optional<link::ResultCause> lastCause_;
    QByteArray lastRefusal_;
    // SkipLater was chosen: one transfer serves one run, so this holds for
    // the rest of the run only. Records that never went out are still asked
    // about: skipping them would wait out the port once per record.
    bool skipLater_ = false;
};

}  // namespace tabulon::transfer
