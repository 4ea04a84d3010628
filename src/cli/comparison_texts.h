#pragma once

#include <QList>
#include <QString>

#include "catalogue/table_kind.h"
#include "transfer/table_comparison.h"

namespace tabulon::cli {

// What compare-table prints: a line a field the register holds otherwise,
// row by row, then the summary:
//   row 7 (record 7), column "Цена": file "12.60", register "12.50"
//   goods: 1 of 20 rows differ
// A comparison that did not read every row counts what it compared and never
// says that no row differs: the rows it missed may.
QString comparisonOutput(TableKind kind, const QString& table,
                         const transfer::ComparisonOutcome& outcome);

// "rows not read, not compared: 12, 14-16"
QString unreadRowsLine(const QList<int>& rows);

}  // namespace tabulon::cli
