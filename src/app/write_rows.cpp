#include "app/write_rows.h"

#include <algorithm>

#include "catalogue/row_marks.h"
#include "transfer/row_count.h"

namespace tabulon::app {

ChosenRows chosenRows(WriteRows choice, const RowMarks& marks, const transfer::RunPlan& plan,
                      const QString& table) {
    const std::optional<QList<int>> known =
        choice == WriteRows::Edited ? marks.changedForRegister() : marks.differingRows();
    if (!known) {
        // Guessing here would leave the register holding something else
        // than the grid while the user believes it written.
        return {std::nullopt,
                choice == WriteRows::Edited
                    ? QStringLiteral("Таблица \"%1\": неизвестно, что хранит ЭККА: после "
                                     "очистки таблица не читалась, не записывалась и не "
                                     "сравнивалась с ЭККА.")
                          .arg(table)
                    : QStringLiteral("Таблица \"%1\" не сравнивалась с ЭККА: нажмите \"Сравнить с "
                                     "ЭККА\".")
                          .arg(table)};
    }
    QList<int> rows;
    std::copy_if(known->begin(), known->end(), std::back_inserter(rows),
                 [&](int row) { return row >= plan.firstRow && row <= plan.lastRow; });
    return {rows, {}};
}

QString chosenRowsQuestion(const QString& table, qsizetype rows, qsizetype total) {
    return QStringLiteral("Таблица \"%1\": будет записано %2 из %3. Продолжить ?")
        .arg(table, transfer::countedRows(rows), transfer::groupedCount(total));
}

QString noRowsToWriteMessage(const QString& table) {
    return QStringLiteral("Таблица \"%1\": нет строк для записи.").arg(table);
}

}  // namespace tabulon::app
