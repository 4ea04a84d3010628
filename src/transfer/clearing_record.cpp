#include "transfer/clearing_record.h"

#include <QStringList>

#include "text/cp1251.h"
#include "transfer/register_tables.h"

namespace tabulon {

namespace {

QString spaces(int count) {
    return QString(count, u' ');
}

QString headerLine(int record, Model model) {
    switch (record) {
        case 1:
            return spaces(12) + QStringLiteral("Україна;");
        case 2:
            return spaces(12) + QStringLiteral("м.Київ;");
        case 3:
            switch (model) {
                // The model name in Cyrillic letters М, Р and Т, as the
                // register's own font prints it.
                case Model::DatecsMp550T:
                    return spaces(12) + QStringLiteral(u"\u041C\u0420-550\u0422;");
                case Model::DatecsMp50Junior:
                    return spaces(9) + QStringLiteral("MP-50 Junior;");
                case Model::Neon:
                    return spaces(17) + QStringLiteral("Neon;");
            }
            break;
        case 5:
            return spaces(6) + QStringLiteral("Дякуємо за покупку!;");
        case 6:
            return spaces(4) + QStringLiteral("Чекаємо на Вас знову!;");
    }
    return QStringLiteral(";");
}

QString defaultText(TableKind kind, int record, Model model) {
    const QString n = QString::number(record);
    switch (kind) {
        case TableKind::Goods:
            if (record <= 20)
                return n + QStringLiteral(";Товар") + n +
                       QStringLiteral(";0.00;0.000;1;1;1;1;0;0;");
            return QStringLiteral("0; ;0.00;0.000;1;1;1;1;0;0;");
        case TableKind::Operators:
            return defaultOperatorPassword(record) + QStringLiteral(";Оператор") + n +
                   QStringLiteral(";0;");
        case TableKind::PaymentTypes: {
            static const QStringList kNames{"Готівка", "Чек", "Кредит", "Картка", "Переказ"};
            // Only cash gives change.
            return QStringLiteral("1;1;") + kNames.value(record - 1) +
                   (record == 1 ? QStringLiteral(";1;0;") : QStringLiteral(";0;0;"));
        }
        case TableKind::Departments:
            return QStringLiteral("Відділ ") + n + QChar(u';');
        case TableKind::HeaderText:
            return headerLine(record, model);
    }
    return {};
}

}  // namespace

// Operator n gets n as password (1 to 20): one the staff can be told after a
// clear without a list, and a different one for every operator.
QString defaultOperatorPassword(int op) {
    return QString::number(op);
}

std::optional<QByteArray> ClearingRecord(TableKind kind, int record, Model model) {
    if (!readRecords(kind, model).contains(record)) return std::nullopt;
    // Every default text is Ukrainian or Russian, which the code page holds.
    return text::toCp1251(defaultText(kind, record, model));
}

}  // namespace tabulon
