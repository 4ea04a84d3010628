#include "transfer/record_messages.h"

#include "catalogue/grid_catalogue.h"
#include "text/cp1251.h"
#include "transfer/write_limit.h"

namespace tabulon {

namespace {

QString tableName(int tab) {
    return tabCaptions().value(tab);
}

QString problemText(CharacterProblem problem, QStringView text, qsizetype at) {
    const QString character = text::describeCharacter(text, at);
    return problem == CharacterProblem::Control
               ? QStringLiteral("управляющий символ %1, который нельзя передать в ЭККА")
                     .arg(character)
               : QStringLiteral("символ %1, которого нет в кодировке Windows-1251").arg(character);
}

}  // namespace

QString cellProblemEnglish(int row, int column, const QString& what) {
    return QStringLiteral("row %1, column %2: %3").arg(row).arg(column).arg(what);
}

QString fieldProblemEnglish(int field, const QString& what) {
    return QStringLiteral("field %1: %2").arg(field).arg(what);
}

QString characterProblemEnglish(CharacterProblem problem, QStringView text, qsizetype at) {
    const QString character = text::describeCharacter(text, at);
    return problem == CharacterProblem::Control
               ? QStringLiteral("control character %1, which the register cannot take")
                     .arg(character)
               : QStringLiteral("character %1, which Windows-1251 does not have").arg(character);
}

QString tooLongEnglish(int commandBytes) {
    return QStringLiteral("the write command would take %1 bytes, over the register's %2")
        .arg(commandBytes)
        .arg(kMaxWriteCommandBytes);
}

QString badReplyMessage() {
    return QStringLiteral("Приняты некорректные данные из ЭККА! Ошибка! Операция прерана!");
}

QString cellNotANumberMessage(TableKind kind, int row, int column, const QString& text) {
    return QStringLiteral("Строка %1 таблицы \"%2\", столбец \"%3\": \"%4\" не число.")
        .arg(row)
        .arg(tableName(static_cast<int>(kind)))
        .arg(gridShape(kind).headers.value(column))
        .arg(text);
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

QString cellRefusalMessage(CharacterProblem problem, TableKind kind, int row, int column,
                           QStringView text, qsizetype at) {
    return QStringLiteral("Строка %1 таблицы \"%2\" не записана: в столбце \"%3\" есть %4.")
        .arg(row)
        .arg(tableName(static_cast<int>(kind)))
        .arg(gridShape(kind).headers.value(column))
        .arg(problemText(problem, text, at));
}

QString fieldRefusalMessage(CharacterProblem problem, ParameterSet set, const QString& fieldLabel,
                            QStringView text, qsizetype at) {
    return QStringLiteral("Таблица \"%1\" не записана: в поле \"%2\" есть %3.")
        .arg(tableName(static_cast<int>(set)))
        .arg(fieldLabel)
        .arg(problemText(problem, text, at));
}

}  // namespace tabulon
