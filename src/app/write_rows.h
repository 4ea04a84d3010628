#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "transfer/run_plan.h"

namespace tabulon {
class RowMarks;
}

namespace tabulon::app {

// Which rows "Записать в ЭККА" sends: the items of "Записывать:" in order.
enum class WriteRows {
    All,        // "все строки": every row of the run, as always
    Edited,     // "измененные строки": changed since the register last held them
    Differing,  // "отличающиеся строки": found different by the last comparison
};

struct ChosenRows {
    std::optional<QList<int>> rows;  // ascending, within the run's bounds
    QString unknown;                 // when the grid cannot tell: why, as the user reads it
};

// The rows of `plan` that a write under `choice` (not All) sends, from what
// the grid of `table` (its tab caption) knows of the connected register.
ChosenRows chosenRows(WriteRows choice, const RowMarks& marks, const transfer::RunPlan& plan,
                      const QString& table);

// "Таблица "Товары": будет записано 12 строк из 10 000. Продолжить ?"
QString chosenRowsQuestion(const QString& table, qsizetype rows, qsizetype total);
// "Таблица "Товары": нет строк для записи."
QString noRowsToWriteMessage(const QString& table);

}  // namespace tabulon::app
