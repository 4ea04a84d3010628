#include "transfer/grid_rows.h"

#include "transfer/register_tables.h"

namespace tabulon {

QStringList recordCells(const GridModel& grid, TableKind kind, int row) {
    return grid.rowCells(row, registerTable(kind).dataColumns);
}

void fillRow(GridModel& grid, int row, const TableReply& reply) {
    for (int i = 0; i < reply.cells.size(); ++i) grid.setCell(row, i + 1, reply.cells[i]);
}

}  // namespace tabulon
