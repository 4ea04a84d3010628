#include "import/import_plan.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "support/cp1251.h"
#include "support/qt_print.h"

namespace tabulon::import {
namespace {

using testing::cp1251;

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

ImportChoices chosen(const QList<int>& columns, RowPlacement rows) {
    ImportChoices choices;
    choices.columns = columns;
    choices.rows = rows;
    return choices;
}

// The plan as one text a line: how the file was read, the rows as the grid
// will hold them, then the problems.
QStringList outcome(const ImportPlan& plan) {
    QStringList lines{
        QStringLiteral("%1 %2 %3 %4 kept %5 cleared %6")
            .arg(encodingName(plan.encoding),
                 plan.delimiter == u'\t' ? QStringLiteral("tab") : QString(plan.delimiter),
                 plan.header ? "heading" : "no heading",
                 plan.rows == RowPlacement::ByCode ? "by code" : "in order")
            .arg(plan.rowsKept)
            .arg(plan.rowsCleared)};
    for (const ImportedRow& row : plan.imported)
        lines << QStringLiteral("row %1: %2").arg(row.row).arg(row.cells.join(u';'));
    for (const ImportProblem& problem : plan.problems) {
        lines << (problem.kind == ImportProblem::Kind::Refusal ? "refused: " : "warning: ") +
                     problem.english;
    }
    return lines;
}

TEST(ImportPlan, FilesAsSpreadsheetsWriteThemBecomeGridRowsOrAreRefused) {
    const struct {
        const char* name;
        TableKind kind;
        QByteArray bytes;
        ImportChoices choices;
        QStringList expected;
    } cases[] = {
        {"Excel's CSV: Windows-1251, \";\", synonyms, decimal comma; the rest as cleared",
         TableKind::Goods,
         cp1251("Артикул;Наименование;Цена продажи;Остаток\r\n17;Молоко 2,5%;45,50;12,000\r\n"
                "3;Хлеб;28;\r\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 2",
          "row 17: 17;Молоко 2,5%;45.50;12.000;1;1;1;1;0;0", "row 3: 3;Хлеб;28;;1;1;1;1;0;0"}},
        {"CSV UTF-8: byte-order mark, \",\", quotes, grouped price with a currency",
         TableKind::Goods,
         "\xEF\xBB\xBF" + QStringLiteral("Код,Название,Цена\r\n5,\"Чай \"\"Лесной\"\", 25 пак.\","
                                         "\"1 234,50 руб.\"\r\n")
                              .toUtf8(),
         {},
         {"UTF-8 , heading by code kept 0 cleared 1",
          "row 5: 5;Чай \"Лесной\", 25 пак.;1234.50;0.000;1;1;1;1;0;0"}},
        {"Unicode text: UTF-16LE, tab, no-break and narrow blanks, \"₽\"",
         TableKind::Goods,
         utf16(QStringLiteral("PLU\tТовар\tЦена\tКоличество\r\n7\tСыр\t120\u00A0000,"
                              "00\u202F₽\t2,"
                              "5"
                              "\r\n"),
               QStringConverter::Utf16LE),
         {},
         {"UTF-16LE tab heading by code kept 0 cleared 1",
          "row 7: 7;Сыр;120000.00;2.5;1;1;1;1;0;0"}},
        {"UTF-16BE with its mark",
         TableKind::Goods,
         utf16(QStringLiteral("Код\tНазвание\r\n8\tМасло\r\n"), QStringConverter::Utf16BE),
         {},
         {"UTF-16BE tab heading by code kept 0 cleared 1",
          "row 8: 8;Масло;0.00;0.000;1;1;1;1;0;0"}},
        {"no heading: columns by number, UTF-8 without a mark",
         TableKind::Goods,
         QStringLiteral("9;Кефир;56.40\n").toUtf8(),
         {},
         {"UTF-8 ; no heading by code kept 0 cleared 1", "row 9: 9;Кефир;56.40;0.000;1;1;1;1;0;0"}},
        {"a column the file lacks: the grid's where the row holds anything",
         TableKind::Goods,
         cp1251("Код;Цена\r\n2;10,50\r\n30;1\r\n"),
         {},
         {"Windows-1251 ; heading by code kept 1 cleared 1",
          "row 2: 2;Старое;10.50;1.000;3;1;1;1;0;0", "row 30: 30; ;1;0.000;1;1;1;1;0;0"}},
        {"a code twice",
         TableKind::Goods,
         cp1251("Код;Название\r\n4;А\r\n5;Б\r\n4;В\r\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 2", "row 4: 4;А;0.00;0.000;1;1;1;1;0;0",
          "row 5: 5;Б;0.00;0.000;1;1;1;1;0;0", "refused: lines 2 and 4: code 4 given twice"}},
        {"one row named by two codes, a quoted \";\", a row no table file line holds",
         TableKind::Goods,
         cp1251("Код;Название\r\n007;Молоко\r\n7;Хлеб\r\n5;\"Соль; йод\"\r\n1;" +
                QString(200, u'Я') + "\r\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 3",
          "row 7: 7;Молоко;0.00;0.000;1;1;1;1;0;0", "row 5: 5;Соль; йод;0.00;0.000;1;1;1;1;0;0",
          "row 1: 1;" + QString(200, u'Я') + ";0.00;0.000;1;1;1;1;0;0",
          "refused: lines 2 and 3: code 7 given twice",
          "refused: line 4, column 2 (Название): \";\" separates the fields of a record",
          "refused: line 5: a line of the table file would take 226 bytes, more than 198"}},
        {"UTF-16LE without its mark; a barcode as Excel rounds it",
         TableKind::Goods,
         QStringEncoder(QStringConverter::Utf16LE)(
             QStringLiteral("Код;Название;Штрихкод\r\n4;Сок;4,6E+12\r\n")),
         {},
         {"UTF-16LE ; heading by code kept 0 cleared 1",
          "row 4: 4;Сок;0.00;0.000;1;1;1;1;0;4,6E+12",
          "refused: line 2, column 3 (Штрихкод): \"4,6E+12\" is a number a spreadsheet rounded; "
          "give the column the text format and save the file again"}},
        {"a heading twice",
         TableKind::Goods,
         cp1251("Код;Название;Товар\r\n1;А;Б\r\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 0",
          "refused: columns 2 and 3 of the file both go into \"Название\""}},
        {"a character Windows-1251 lacks",
         TableKind::Goods,
         QStringLiteral("Код;Название\n6;Кофе ☕\n").toUtf8(),
         {},
         {"UTF-8 ; heading by code kept 0 cleared 1", "row 6: 6;Кофе ☕;0.00;0.000;1;1;1;1;0;0",
          "refused: line 2, column 2 (Название): character «☕» (U+2615), which Windows-1251 "
          "does not have"}},
        {"a name longer than the model keeps",
         TableKind::Goods,
         cp1251("Код;Наименование\r\n11;Чай чёрный листовой цейлонский крупнолистовой\r\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 1",
          "row 11: 11;Чай чёрный листовой цейлонский крупнолистовой;0.00;0.000;1;1;1;1;0;0",
          "warning: line 2, column 2 (Наименование): 45 characters, cut to 32: \"Чай чёрный "
          "листовой цейлонский к\""}},
        {"a quoted line break",
         TableKind::Goods,
         cp1251("Код;Название\r\n1;\"Хлеб\r\nбелый\"\r\n"),
         {},
         {"Windows-1251 ; no heading in order kept 0 cleared 0",
          "refused: line 2: a quoted value runs over the end of the line"}},
        {"a price that is no number",
         TableKind::Goods,
         cp1251("Код;Цена\n1;12,3x\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 1",
          "row 1: 1;Товар1;12,3x;0.000;1;1;1;1;0;0",
          "refused: line 2, column 2 (Цена): '12,3x' is not a valid floating point value"}},
        {"a code past the table",
         TableKind::Goods,
         cp1251("Код;Название\n10001;Лишний\n"),
         {},
         {"Windows-1251 ; heading by code kept 0 cleared 0",
          "refused: line 2, column 1 (Код): code \"10001\" is no row number from 1 to 10000"}},
        {"departments one after another",
         TableKind::Departments,
         cp1251("Хлеб\r\nМолоко\r\n"),
         {},
         {"Windows-1251 ; no heading in order kept 0 cleared 0", "row 1: Хлеб", "row 2: Молоко"}},
        {"header text by its number column",
         TableKind::HeaderText,
         QStringLiteral("#;Текст\n3;Добро пожаловать!\n").toUtf8(),
         {},
         {"UTF-8 ; heading by code kept 0 cleared 0", "row 3: Добро пожаловать!"}},
        {"columns and rows as chosen",
         TableKind::Goods,
         QStringLiteral("10;xxx;Вода\n").toUtf8(),
         chosen({1, -1, 2}, RowPlacement::InOrder),
         {"UTF-8 ; no heading in order kept 0 cleared 1", "row 1: 10;Вода;0.00;0.000;1;1;1;1;0;0"}},
    };
    for (const auto& row : cases) {
        const GridShape& shape = gridShape(row.kind);
        GridModel grid(shape.columns, shape.rows);
        if (row.kind == TableKind::Goods)
            grid.setRowCells(2, {"2", "Старое", "9.99", "1.000", "3", "1", "1", "1", "0", "0"});
        const ImportPlan plan =
            planImport(row.bytes, row.kind, Model::DatecsMp550T, row.choices, grid);
        EXPECT_EQ(outcome(plan), row.expected) << row.name;
    }
}

}  // namespace
}  // namespace tabulon::import
