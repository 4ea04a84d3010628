#include "import/csv_export.h"

#include <QStringList>

#include "catalogue/grid_model.h"
#include "files/file_layout.h"
#include "import/column_names.h"
#include "text/decimal_number.h"
#include "transfer/register_tables.h"

namespace tabulon::import {

namespace {

// Quoted where a spreadsheet would otherwise split the value or lose its
// blanks.
QString csvValue(const QString& value) {
    const bool quote = value.contains(u';') || value.contains(u'"') || value.contains(u'\n') ||
                       value.contains(u'\r') || value.startsWith(u' ') || value.endsWith(u' ');
    if (!quote) return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

QByteArray exportDelimited(const GridModel& grid, TableKind kind, Model model, bool decimalPoint) {
    const GridTable& table = registerTable(kind);
    const int rows = files::gridFileLayout(kind, model).lines;
    const bool numbered = kind != TableKind::Goods;
    QStringList headings;
    if (numbered) headings << columnHeading(kind, kRowNumberColumn);
    for (int column = 1; column <= table.dataColumns; ++column)
        headings << csvValue(columnHeading(kind, column));
    QString text = headings.join(u';') + QStringLiteral("\r\n");
    for (int row = 1; row <= rows; ++row) {
        QStringList values = grid.rowCells(row, table.dataColumns);
        bool holds = false;
        for (int column = 1; column <= table.dataColumns; ++column) {
            QString& value = values[column - 1];
            holds = holds || !value.isEmpty();
            if (!decimalPoint && holdsNumber(kind, column) && text::formatDecimal(value, 9))
                value.replace(u'.', u',');
            value = csvValue(value);
        }
        if (!holds) continue;
        if (numbered) values.prepend(QString::number(row));
        text += values.join(u';') + QStringLiteral("\r\n");
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}

}  // namespace tabulon::import
