#include "transfer/record_messages.h"

#include "catalogue/grid_catalogue.h"
#include "transfer/write_limit.h"

namespace tabulon {

namespace {

QString tableName(int tab) {
    return tabCaptions().value(tab);
}

QString hexCode(char32_t code) {
    return QString::number(uint(code), 16).toUpper().rightJustified(4, u'0');
}

// «✓» (U+2713): the glyph alone may be invisible or look like a letter that
// the code page does have, so the code goes with it.
QString describeCharacter(QStringView text, qsizetype at) {
    const QChar first = text[at];
    if (first.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        const char32_t code = QChar::surrogateToUcs4(first, text[at + 1]);
        return QStringLiteral("«%1» (U+%2)").arg(text.mid(at, 2), hexCode(code));
    }
    // Half a pair has no glyph of its own.
    if (first.isSurrogate()) return QStringLiteral("U+%1").arg(hexCode(first.unicode()));
    return QStringLiteral("«%1» (U+%2)").arg(first).arg(hexCode(first.unicode()));
}

}  // namespace

QString badReplyMessage() {
    return QStringLiteral("Приняты некорректные данные из ЭККА! Ошибка! Операция прерана!");
}

QString rowTooLongMessage(TableKind kind, int row, int commandBytes) {
    return QStringLiteral(
               "Строка %1 таблицы \"%2\" не записана: команда записи заняла бы %3 байт "
               "при пределе ЭККА %4 байт. Сократите тексты этой строки.")
        .arg(row)
        .arg(tableName(static_cast<int>(kind)))
        .arg(commandBytes)
        .arg(kMaxWriteCommandBytes);
}

QString parametersTooLongMessage(ParameterSet set, int commandBytes) {
    return QStringLiteral(
               "Таблица \"%1\" не записана: команда записи заняла бы %2 байт "
               "при пределе ЭККА %3 байт. Сократите тексты полей.")
        .arg(tableName(static_cast<int>(set)))
        .arg(commandBytes)
        .arg(kMaxWriteCommandBytes);
}

QString cellNotInCodePageMessage(TableKind kind, int row, int column, QStringView text,
                                 qsizetype at) {
    return QStringLiteral(
               "Строка %1 таблицы \"%2\" не записана: в столбце \"%3\" есть символ %4, "
               "которого нет в кодировке Windows-1251.")
        .arg(row)
        .arg(tableName(static_cast<int>(kind)))
        .arg(gridShape(kind).headers.value(column))
        .arg(describeCharacter(text, at));
}

QString fieldNotInCodePageMessage(ParameterSet set, const QString& fieldLabel, QStringView text,
                                  qsizetype at) {
    return QStringLiteral(
               "Таблица \"%1\" не записана: в поле \"%2\" есть символ %3, "
               "которого нет в кодировке Windows-1251.")
        .arg(tableName(static_cast<int>(set)))
        .arg(fieldLabel)
        .arg(describeCharacter(text, at));
}

}  // namespace tabulon
