#pragma once

#include <QList>
#include <QString>
#include <algorithm>
#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon::transfer {

enum class Direction { Write, Read, Clear };

// The coding interval of the goods tab as the user typed it: "Начало",
// "Конец", "Номер первой записи в ЭККА".
struct IntervalTexts {
    QString start;
    QString end;
    QString firstRecord;
};

// One table run, fixed when it starts: neither a tab switch nor another model
// in the box changes it while it lasts.
struct RunPlan {
    Direction direction = Direction::Write;
    TableKind kind = TableKind::Goods;
    Model model = Model::DatecsMp550T;
    int firstRow = 1;  // grid rows; for clearing, register records
    int lastRow = 1;
    int firstRecord = 1;  // the register record of the first row
    // The progress bar: its maximum, and where it stands at the start.
    int progressMaximum = 0;
    int progressStart = 0;

    // Only these rows of firstRow..lastRow, in ascending order, each into its
    // own record (recordOf); unset: every row. Rows that did not change since
    // the last write need not go over a slow line again.
    std::optional<QList<int>> onlyRows;

    int recordOf(int row) const { return firstRecord + (row - firstRow); }
    int rowCount() const { return onlyRows ? int(onlyRows->size()) : lastRow - firstRow + 1; }
    bool visits(int row) const {
        return !onlyRows || std::binary_search(onlyRows->begin(), onlyRows->end(), row);
    }
};

struct PlanResult {
    std::optional<RunPlan> plan;
    QString error;  // why there is no plan: the message the user sees
};

// "Ошибка! Неверные границы данных!"
QString badIntervalMessage();

// The run of a grid table in one direction for the model. The interval counts
// for the goods table only (write and read; clearing never uses it). A field
// that is not a whole number gives the conversion error; bounds that do not
// fit give the bad-interval message.
PlanResult planTableRun(Direction direction, TableKind kind, Model model,
                        const std::optional<IntervalTexts>& interval = std::nullopt);

}  // namespace tabulon::transfer
