#include "transfer/row_snapshot.h"

#include "transfer/grid_rows.h"

namespace tabulon::transfer {

RowSnapshot::RowSnapshot(const GridModel& grid, TableKind kind, int firstRow, int lastRow)
    : firstRow_(firstRow) {
    rows_.reserve(lastRow - firstRow + 1);
    for (int row = firstRow; row <= lastRow; ++row) rows_ << recordCells(grid, kind, row);
}

QStringList RowSnapshot::rowCells(int row) const {
    const QMutexLocker lock(&mutex_);
    return rows_.value(row - firstRow_);
}

int RowSnapshot::revision() const {
    const QMutexLocker lock(&mutex_);
    return revision_;
}

void RowSnapshot::clear() {
    const QMutexLocker lock(&mutex_);
    for (QStringList& row : rows_) row.clear();
    ++revision_;
}

}  // namespace tabulon::transfer
