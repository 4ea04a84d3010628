#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

#include "transfer/run_parts.h"
#include "transfer/run_plan.h"
#include "transfer/transfer_record.h"

namespace tabulon::transfer {

// What a run needs besides its plan. The source feeds write runs, the sink
// takes what read runs read; progress may be null.
struct RunParts {
    link::RegisterLink& link;
    Connection connection;
    RunDialogs& dialogs;
    RunControl& control;
    RunProgress* progress = nullptr;
    const RowSource* source = nullptr;
    RowSink* sink = nullptr;
    // Writes only: each record written is read back (through the same
    // ten-attempt policy) and handed to the check.
    WriteCheck* check = nullptr;
};

struct RunOutcome {
    // Ended before its last record: "Стоп", "Завершить операцию", bad data,
    // or the program closing.
    bool stopped = false;
    int done = 0;  // records done; a read whose reply was bad data is not
    // Records not done: skipped or abandoned after the dialog, or (clearing)
    // left as they were after ten attempts.
    QList<int> failedRecords;
    // Those of them the link failed at: why it failed the last attempt.
    QMap<int, link::ResultCause> failureCauses;
    // Writes with a check: records written (and counted done) whose reading
    // back failed, so that nobody knows what the register holds there.
    QList<int> unverifiedRecords;
    // A write whose rows do not all make records: why. Nothing was sent.
    std::optional<QString> refusal;
};

// Every row of a write run made into its record, as the run will make them;
// why the first that cannot be cannot, naming its row and column.
std::optional<RecordError> firstRefusedRow(const RunPlan& plan, const RowSource& source);

// Carries out a table run. Not a record is sent before every row of a write
// has been found good. `control` is looked at between records: a stop ends
// the run there, and a reset asked for with it goes out there, never inside
// an exchange.
RunOutcome runTable(const RunPlan& plan, RunParts& parts);

// Clearing tries a record this often, with a pause between two attempts.
inline constexpr int kClearAttempts = 10;

// The parameter sets: one record, record 1 of the set's table. A write sends
// the record built beforehand; a skip of the service parameters also resets
// the link once the port is open again.
RecordOutcome writeParameters(ParameterSet set, const QByteArray& record, RunParts& parts);
// The reply, or nullopt after a skip or an abandon.
std::optional<QByteArray> readParameters(ParameterSet set, RunParts& parts);

}  // namespace tabulon::transfer
