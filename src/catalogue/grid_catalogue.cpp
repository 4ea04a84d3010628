#include "catalogue/grid_catalogue.h"

#include <array>

namespace tabulon {

namespace {

const std::array<GridShape, kGridTableCount>& grids() {
    static const std::array<GridShape, kGridTableCount> table{{
        {TableKind::Goods,
         QStringLiteral("StringGrid1"),
         11,
         10001,
         16,
         {"Ряд", "Код", "Название", "Цена", "Количество", "Отдел", "Группа", "Налог", "Тип", "КНЛ",
          "Штрих-код"}},
        {TableKind::Operators,
         QStringLiteral("StringGrid2"),
         4,
         21,
         16,
         {"Номер", "Пароль", "Имя", "Разрешение"}},
        {TableKind::PaymentTypes,
         QStringLiteral("StringGrid3"),
         6,
         6,
         24,
         {"Номер", "Разрешение (0-1)", "Разреш. для возвр. (0-1)", "Название (10 симв.)",
          "Сдача (0-1)", "Запрос (0-1)"}},
        {TableKind::Departments,
         QStringLiteral("StringGrid4"),
         2,
         21,
         16,
         {"Номер", "Название отдела (22 символа)"}},
        {TableKind::HeaderText,
         QStringLiteral("StringGrid5"),
         2,
         13,
         20,
         {"#", "Заголовок/рекламный текст (38 символов)"}},
    }};
    return table;
}

}  // namespace

const GridShape& gridShape(TableKind kind) {
    return grids()[static_cast<int>(kind)];
}

QString startupRowLabel(TableKind kind, int row) {
    if (row == 0) return gridShape(kind).headers.value(0);
    if (kind != TableKind::HeaderText) return QString::number(row);
    static const QStringList groups{"Заголовок %1", "Рекламный текст %1", "Сервисный текст %1"};
    return groups.value((row - 1) / 4).arg((row - 1) % 4 + 1);
}

const QStringList& tabCaptions() {
    static const QStringList captions{
        "Товары",          "Операторы",      "Типы оплат", "Отделы",  "Загол. и рекл. текст",
        "Параметры кассы", "Параметры чека", "Служебная",  "Логотип", "Отчеты"};
    return captions;
}

}  // namespace tabulon
