#include "sdcard/sales_table.h"

#include <QIODevice>

#include "catalogue/grid_model.h"
#include "files/line_split.h"
#include "text/cp1251.h"

namespace tabulon::sdcard {

const QStringList& salesHeaders() {
    static const QStringList headers{"Ряд",       "Код",    "Название",  "Цена",     "Количество",
                                     "Отдел",     "Группа", "Налог",     "Тип",      "КНЛ",
                                     "Штрих-код", "Прз",    "Клво прод", "Об. прод", "Клво возв",
                                     "Об. возв",  "Скидки"};
    return headers;
}

namespace {

bool fixedCellsInPlace(const GridModel& sales) {
    for (int column = 0; column < kSalesColumns; ++column)
        if (sales.cell(0, column) != salesHeaders()[column]) return false;
    for (int row = 1; row < kSalesRows; ++row)
        if (sales.cell(row, 0) != QString::number(row)) return false;
    return true;
}

}  // namespace

void writeSalesFixedCells(GridModel& sales) {
    // Every opening writes them again; once they stand, the view is not
    // reset for nothing (that would lose the place the user scrolled to).
    if (fixedCellsInPlace(sales)) return;
    GridModel::BulkUpdate bulk(sales);
    for (int column = 0; column < kSalesColumns; ++column)
        sales.setCell(0, column, salesHeaders()[column]);
    for (int row = 1; row < kSalesRows; ++row) sales.setCell(row, 0, QString::number(row));
}

files::WriteResult writeSalesFile(const GridModel& sales, QIODevice& file,
                                  const std::function<void()>& lineWritten) {
    // The file keeps the card's figures for the user as the card gave them:
    // a goods line and a sales line of the card may together pass the length
    // of a table file line, and whatever byte the card held goes back out.
    for (int row = 1; row < kSalesRows; ++row) {
        const QStringList values = sales.rowCells(row, kSalesValues);
        std::optional<QByteArray> line = text::toCp1251(files::joinLine(values));
        if (!line) {
            // The cells can be typed into: the user must hear which to mend.
            for (qsizetype i = 0; i < values.size(); ++i) {
                if (const qsizetype at = text::firstNonCp1251(values[i]); at >= 0) {
                    return {files::WriteOutcome::NotEncodable, row, int(i + 1),
                            text::describeCharacter(values[i], at)};
                }
            }
            return {files::WriteOutcome::NotEncodable, row, 0, {}};
        }
        line->append("\r\n");
        if (file.write(*line) != line->size())
            return {files::WriteOutcome::DeviceError, row, 0, {}};
        if (lineWritten) lineWritten();
    }
    return {};
}

}  // namespace tabulon::sdcard
