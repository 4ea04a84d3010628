#pragma once

#include <QStringList>

#include "catalogue/grid_model.h"

namespace tabulon::testing {

// Marked cells of data rows 1..rows: "2.3e" edited, "3.3d" the register's differs.
inline QStringList cellMarks(const GridModel& grid, int rows) {
    QStringList marks;
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column < grid.gridColumns(); ++column)
            if (const int mark =
                    grid.data(grid.index(row - 1, column - 1), GridModel::CellMarkRole).toInt())
                marks << QStringLiteral("%1.%2%3").arg(row).arg(column).arg(
                    mark == int(GridModel::CellMark::Edited) ? 'e' : 'd');
    return marks;
}

}  // namespace tabulon::testing
