#pragma once

#include <QList>
#include <QString>

#include "transfer/run_plan.h"
#include "transfer/table_run.h"

namespace tabulon::transfer {

// What the user reads when a table run ends. A run that left records out
// names them: after an hour of writing, "успешно" would hide the three
// records the register never took.
QString runEndMessage(Direction direction, const RunOutcome& outcome);

// A message names at most this many records, then "…".
inline constexpr int kRecordsNamed = 10;

}  // namespace tabulon::transfer
