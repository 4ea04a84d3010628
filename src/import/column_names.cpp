#include "import/column_names.h"

#include <QList>
#include <array>

#include "catalogue/grid_catalogue.h"
#include "text/whole_number.h"
#include "transfer/register_tables.h"

namespace tabulon::import {

namespace {

struct Synonyms {
    TableKind kind;
    int column;
    QStringList names;
};

// Besides the grid's headings: what price lists exported from accounting
// programs call the same columns.
const QList<Synonyms>& synonyms() {
    static const QList<Synonyms> table{
        {TableKind::Goods, 0, {"Номер", "№"}},
        {TableKind::Goods, 1, {"Артикул", "PLU"}},
        {TableKind::Goods, 2, {"Наименование", "Товар"}},
        {TableKind::Goods, 3, {"Цена продажи"}},
        {TableKind::Goods, 4, {"Остаток"}},
        {TableKind::Goods, 5, {"Секция"}},
        {TableKind::Goods, 7, {"НДС", "Налоговая группа"}},
        {TableKind::Goods, 10, {"Штрихкод", "EAN", "Barcode"}},
        {TableKind::Operators, 0, {"№", "Код"}},
        {TableKind::Operators, 2, {"Наименование", "Название", "Оператор"}},
        {TableKind::PaymentTypes, 0, {"№", "Код"}},
        {TableKind::Departments, 0, {"№", "Код"}},
        {TableKind::Departments, 1, {"Наименование", "Название", "Отдел"}},
        {TableKind::HeaderText, 0, {"Номер", "№", "Строка"}},
        {TableKind::HeaderText, 1, {"Текст"}},
    };
    return table;
}

}  // namespace

int columnOfHeading(TableKind kind, QStringView heading) {
    const QStringView name = heading.trimmed();
    const QStringList& headers = gridShape(kind).headers;
    for (int column = 0; column < headers.size(); ++column) {
        if (name.compare(headers[column], Qt::CaseInsensitive) == 0) return column;
    }
    for (const Synonyms& entry : synonyms()) {
        if (entry.kind != kind) continue;
        for (const QString& synonym : entry.names) {
            if (name.compare(synonym, Qt::CaseInsensitive) == 0) return entry.column;
        }
    }
    return kIgnoredColumn;
}

int columnOfWord(TableKind kind, QStringView word) {
    if (word == u"-") return kIgnoredColumn;
    if (const std::optional<int> number = text::wholeNumber(word)) {
        return *number >= 0 && *number < gridShape(kind).columns ? *number : kUnknownColumn;
    }
    const int column = columnOfHeading(kind, word);
    return column == kIgnoredColumn ? kUnknownColumn : column;
}

QString columnHeading(TableKind kind, int column) {
    return gridShape(kind).headers.value(column);
}

bool holdsNumber(TableKind kind, int column) {
    for (const RecordField& field : registerTable(kind).fields) {
        if (field.column == column)
            return field.rule == FieldRule::Price || field.rule == FieldRule::Quantity;
    }
    return false;
}

}  // namespace tabulon::import
