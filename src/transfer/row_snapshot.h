#pragma once

#include <QMutex>
#include <QStringList>
#include <QVector>

#include "catalogue/table_kind.h"
#include "transfer/run_parts.h"

namespace tabulon {
class GridModel;
}

namespace tabulon::transfer {

// The rows of a write run, copied out of a grid when the run starts, so that
// a run on another thread never reads the grid itself. Editing is off in the
// run's grid while it lasts; the one change that still reaches the rows to
// come is emptying the grid ("Очистить таблицу"), passed on with clear().
class RowSnapshot final : public RowSource {
public:
    RowSnapshot(const GridModel& grid, TableKind kind, int firstRow, int lastRow);

    QStringList rowCells(int row) const override;
    int revision() const override;
    // Every row to come is empty from now on.
    void clear();

private:
    mutable QMutex mutex_;
    int firstRow_;
    int revision_ = 0;
    QVector<QStringList> rows_;
};

}  // namespace tabulon::transfer
