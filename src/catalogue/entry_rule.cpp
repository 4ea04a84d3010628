#include "catalogue/entry_rule.h"

#include "text/cp1251.h"

namespace tabulon {

std::optional<QString> entryRefusal(const QString& text) {
    if (text.contains(QLatin1Char(';')))
        return QStringLiteral("Символ \";\" недопустим: он разделяет поля записи.");
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return QStringLiteral("Перевод строки недопустим: значение должно быть одной строкой.");
    if (const qsizetype at = text::firstNonCp1251(text); at >= 0)
        return QStringLiteral("Символ \"%1\" недопустим: его нет в кодировке Windows-1251.")
            .arg(text::characterAt(text, at));
    return std::nullopt;
}

QString entryRefusalCaption() {
    return QStringLiteral("Недопустимый ввод");
}

}  // namespace tabulon
