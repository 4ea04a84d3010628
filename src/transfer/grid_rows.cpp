#include "transfer/grid_rows.h"

#include "transfer/register_tables.h"

namespace tabulon {

QStringList recordCells(const GridModel& grid, TableKind kind, int row) {
    return grid.rowCells(row, registerTable(kind).dataColumns);
}

void fillRow(GridModel& grid, int row, const TableReply& reply) {
    grid.setRowCells(row, reply.cells);
}

}  // namespace tabulon
