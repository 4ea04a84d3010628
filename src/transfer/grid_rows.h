#pragma once

#include <QStringList>

#include "catalogue/grid_model.h"
#include "catalogue/table_kind.h"
#include "transfer/table_record.h"

namespace tabulon {

// The cells of a grid row that its record is made of (columns 1 onward).
QStringList recordCells(const GridModel& grid, TableKind kind, int row);

// Puts the fields of a reply into columns 1 onward of the row. Columns the
// reply does not reach keep their texts: reading never empties a row first.
void fillRow(GridModel& grid, int row, const TableReply& reply);

}  // namespace tabulon
