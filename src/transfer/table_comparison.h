#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "transfer/record_differences.h"
#include "transfer/run_plan.h"
#include "transfer/table_run.h"

namespace tabulon::transfer {

// A row whose record the register holds otherwise.
struct RowDifference {
    int row = 0;
    int record = 0;
    RecordDifferences differences;
};

struct ComparisonOutcome {
    RunOutcome run;                  // the reading, as any read run ends
    QList<RowDifference> differing;  // by row, ascending
    // Rows whose record was not read (skipped, abandoned, bad data, or not
    // reached before a stop), or read before the rows changed under the
    // comparison: nobody knows whether they differ.
    QList<int> unreadRows;
    int rows = 0;  // rows the comparison covers
    // A row that makes no record: nothing was read.
    std::optional<RecordError> refusal;

    bool complete() const { return unreadRows.isEmpty() && !refusal; }
    QList<int> differingRows() const;
};

// Reads the records that the write `plan` would write and compares each with
// the record its row of `parts.source` makes; the register is only read and
// the rows are left alone. `parts.sink` is not used.
ComparisonOutcome compareTable(const RunPlan& plan, RunParts& parts);

// What the window says when a comparison ends: "Отличается 12 строк из
// 10 000: 3, 7, …", and the rows it could not read, never passed off as equal.
QString comparisonEndMessage(const ComparisonOutcome& outcome);

}  // namespace tabulon::transfer
