#include "import/import_messages.h"

#include "text/cp1251.h"
#include "text/decimal_number.h"
#include "transfer/record_messages.h"

namespace tabulon::import {

namespace {

ImportProblem refusal(int line, const QString& message, const QString& english) {
    return {ImportProblem::Kind::Refusal, line, message, english};
}

QString where(int line, int column, const QString& heading) {
    return QStringLiteral("Строка %1, столбец %2 (%3)").arg(line).arg(column).arg(heading);
}

QString whereEnglish(int line, int column, const QString& heading) {
    return QStringLiteral("line %1, column %2 (%3)").arg(line).arg(column).arg(heading);
}

}  // namespace

ImportProblem noRowsProblem() {
    return refusal(0, QStringLiteral("В файле нет строк данных."),
                   QStringLiteral("the file has no rows of data"));
}

ImportProblem noCodeColumnProblem() {
    return refusal(0, QStringLiteral("Строки по кодам: в файле нет столбца кодов."),
                   QStringLiteral("rows by code: the file has no column of codes"));
}

ImportProblem brokenQuoteProblem(int line) {
    return refusal(
        line,
        QStringLiteral("Строка %1: значение в кавычках переходит на следующую строку.").arg(line),
        QStringLiteral("line %1: a quoted value runs over the end of the line").arg(line));
}

ImportProblem columnTwiceProblem(int first, int second, const QString& tableColumn) {
    return refusal(0,
                   QStringLiteral("Столбцы %1 и %2 файла оба идут в столбец \"%3\".")
                       .arg(first)
                       .arg(second)
                       .arg(tableColumn),
                   QStringLiteral("columns %1 and %2 of the file both go into \"%3\"")
                       .arg(first)
                       .arg(second)
                       .arg(tableColumn));
}

ImportProblem tooManyRowsProblem(int line, int rows) {
    return refusal(line,
                   QStringLiteral("Строка %1: в таблице только %2 строк.").arg(line).arg(rows),
                   QStringLiteral("line %1: the table has only %2 rows").arg(line).arg(rows));
}

ImportProblem badCodeProblem(int line, int column, const QString& heading, const QString& code,
                             int rows) {
    return refusal(
        line,
        where(line, column, heading) +
            QStringLiteral(": код \"%1\" не номер строки от 1 до %2.").arg(code).arg(rows),
        whereEnglish(line, column, heading) +
            QStringLiteral(": code \"%1\" is no row number from 1 to %2").arg(code).arg(rows));
}

ImportProblem codeTwiceProblem(int line, const QString& code, int earlierLine) {
    return refusal(
        line, QStringLiteral("Строки %1 и %2: код %3 дважды.").arg(earlierLine).arg(line).arg(code),
        QStringLiteral("lines %1 and %2: code %3 given twice")
            .arg(earlierLine)
            .arg(line)
            .arg(code));
}

ImportProblem notANumberProblem(int line, int column, const QString& heading,
                                const QString& value) {
    return refusal(line,
                   where(line, column, heading) + QStringLiteral(": \"%1\" не число.").arg(value),
                   whereEnglish(line, column, heading) + QStringLiteral(": ") +
                       text::invalidFloatMessage(value));
}

ImportProblem characterProblem(int line, int column, const QString& heading, const QString& value,
                               qsizetype at, bool control) {
    const QString character = text::describeCharacter(value, at);
    const QString what =
        control
            ? QStringLiteral(": управляющий символ %1, который нельзя передать в ЭККА.")
                  .arg(character)
            : QStringLiteral(": символ %1, которого нет в кодировке Windows-1251.").arg(character);
    const CharacterProblem problem =
        control ? CharacterProblem::Control : CharacterProblem::NotInCodePage;
    return refusal(line, where(line, column, heading) + what,
                   whereEnglish(line, column, heading) + QStringLiteral(": ") +
                       characterProblemEnglish(problem, value, at));
}

ImportProblem separatorProblem(int line, int column, const QString& heading) {
    return refusal(line,
                   where(line, column, heading) +
                       QStringLiteral(": символ \";\" недопустим: он разделяет поля записи."),
                   whereEnglish(line, column, heading) +
                       QStringLiteral(": \";\" separates the fields of a record"));
}

ImportProblem roundedProblem(int line, int column, const QString& heading, const QString& value) {
    return refusal(line,
                   where(line, column, heading) +
                       QStringLiteral(": \"%1\" - число, округлённое электронной таблицей; задайте "
                                      "столбцу текстовый формат и сохраните файл снова.")
                           .arg(value),
                   whereEnglish(line, column, heading) +
                       QStringLiteral(": \"%1\" is a number a spreadsheet rounded; give the "
                                      "column the text format and save the file again")
                           .arg(value));
}

ImportProblem fileLineProblem(int line, qsizetype bytes, qsizetype most) {
    return rowProblem(
        line,
        QStringLiteral("в файле таблицы строка заняла бы %1 байт, больше %2.").arg(bytes).arg(most),
        QStringLiteral("a line of the table file would take %1 bytes, more than %2")
            .arg(bytes)
            .arg(most));
}

ImportProblem rowProblem(int line, const QString& message, const QString& english) {
    return refusal(line, QStringLiteral("Строка %1 файла: %2").arg(line).arg(message),
                   QStringLiteral("line %1: %2").arg(line).arg(english));
}

ImportProblem cutWarning(int line, int column, const QString& heading, const QString& value,
                         int kept) {
    const QString cut = value.left(kept);
    return {
        ImportProblem::Kind::Warning, line,
        where(line, column, heading) + QStringLiteral(": %1 символов, останется %2: \"%3\".")
                                           .arg(value.size())
                                           .arg(kept)
                                           .arg(cut),
        whereEnglish(line, column, heading) + QStringLiteral(": %1 characters, cut to %2: \"%3\"")
                                                  .arg(value.size())
                                                  .arg(kept)
                                                  .arg(cut)};
}

}  // namespace tabulon::import
