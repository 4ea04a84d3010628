#include <gtest/gtest.h>

#include <QLocale>

#include "support/cp1251.h"
#include "support/qt_print.h"
#include "transfer/table_record.h"

namespace tabulon {
namespace {

using testing::cp1251;

// What each table makes of a grid row: fields cut to what the model prints,
// numbers written again, empty flags as zero.
TEST(TableRecord, EachRowMakesItsRecord) {
    const QString name45 = QString(20, QChar(u'Ж')) + QString(25, QChar(u'z'));
    const QByteArray forty = cp1251("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖzzzzzzzzzzzzzzzzzzzz");
    const QString longText(60, QChar(u'9'));
    QStringList longBarcode(10, QString());
    longBarcode[9] = "482000000001799";
    QStringList shortBarcode(10, QString());
    shortBarcode[9] = "12";
    struct Case {
        const char* what;
        TableKind kind;
        QStringList cells;
        Model model;
        QByteArray record;
    };
    using enum TableKind;
    const Model mp550 = Model::DatecsMp550T;
    const Case cases[] = {
        // Goods: an empty row gives ten fields with zero price, quantity and barcode.
        {"empty goods row", Goods, QStringList(10, QString()), mp550, ";;0.00;0.000;;;;;;0;"},
        {"missing cells count as empty", Goods, {}, mp550, ";;0.00;0.000;;;;;;0;"},
        {"empty goods row, Neon", Goods, {}, Model::Neon, ";;0.00;0.000;;;;;;0;"},
        // A full row keeps its cells and writes its numbers again.
        {"full goods row",
         Goods,
         {"7", "Молоко 2,5%", "12.5", "3", "1", "2", "3", "0", "0", "4820000000017"},
         mp550,
         cp1251("7;Молоко 2,5%;12.50;3.000;1;2;3;0;0;4820000000017;")},
        // Blanks are the user's: nothing is trimmed, a blank barcode is not empty.
        {"blanks kept",
         Goods,
         {" 7 ", " Чай ", " 0.125", "1234567.89 ", "", "", "", "", "", " "},
         mp550,
         cp1251(" 7 ; Чай ;0.13;1234567.890;;;;;; ;")},
        {"large price, negative quantity",
         Goods,
         {"1", "", "1234567.89", "-0.5"},
         mp550,
         "1;;1234567.89;-0.500;;;;;;0;"},
        // The name is cut to what the model prints.
        {"name of 45, Neon",
         Goods,
         {"1", name45},
         Model::Neon,
         "1;" + forty + ";0.00;0.000;;;;;;0;"},
        {"name of 45, MP-550T",
         Goods,
         {"1", name45},
         mp550,
         "1;" + forty.left(32) + ";0.00;0.000;;;;;;0;"},
        {"name of 45, MP-50 Junior",
         Goods,
         {"1", name45},
         Model::DatecsMp50Junior,
         "1;" + forty.left(32) + ";0.00;0.000;;;;;;0;"},
        // The barcode keeps thirteen digits.
        {"barcode of 15", Goods, longBarcode, mp550, ";;0.00;0.000;;;;;;4820000000017;"},
        {"barcode of 2", Goods, shortBarcode, mp550, ";;0.00;0.000;;;;;;12;"},
        {"uncut columns go out whole",
         Goods,
         {longText, "n", "1", "1", "5", "6", "7", "8", "9", "0"},
         mp550,
         longText.toLatin1() + ";n;1.00;1.000;5;6;7;8;9;0;"},
        // Operators: always four fields, the last zero.
        {"operator",
         Operators,
         {"12", "Иванов Иван", "ABCDEFGHIJKL"},
         mp550,
         cp1251("12;Иванов И;ABCDEFGHIJ;0;")},
        {"empty operator", Operators, {}, mp550, ";;;0;"},
        // A fourth cell, should a caller pass one, does not replace the zero.
        {"operator with a fourth cell", Operators, {"1", "A", "1", "9"}, mp550, "1;A;1;0;"},
        // Payment types: empty flags are zero, flags keep one character.
        {"payment type with empty flags",
         PaymentTypes,
         {"", "", "Платіжна картка банку", "", ""},
         mp550,
         cp1251("0;0;Платіжна картка банк;0;0;")},
        {"payment type with long flags",
         PaymentTypes,
         {"10", "01", "Чек", "1", "yes"},
         Model::Neon,
         cp1251("1;0;Чек;1;y;")},
        // Department and header lines are cut.
        {"department",
         Departments,
         {"Бакалія та кондитерські вироби"},
         mp550,
         cp1251("Бакалія та кондитерськ;")},
        {"empty department", Departments, {""}, mp550, ";"},
        {"header line",
         HeaderText,
         {QString(30, QChar(u' ')) + "Україна, м.Київ"},
         mp550,
         cp1251("                              Україна,;")},
        {"header line with a second cell", HeaderText, {"a", "ignored"}, mp550, "a;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BuiltRecord record = BuildTableRecord(c.kind, c.cells, c.model, {1, 1});
        EXPECT_TRUE(record.ok()) << (record.error ? record.error->message.toStdString() : "");
        EXPECT_EQ(record.text, c.record);
    }
}

TEST(GoodsRecord, PriceOrQuantityThatIsNotANumberGivesNoRecord) {
    struct Case {
        QStringList row;
        QString message;
    };
    const Case cases[] = {
        {{"1", "Хлеб", "12,50"},
         "'12,50' is not a valid floating point value\n"
         "Строка 4 таблицы \"Товары\", столбец \"Цена\": \"12,50\" не число."},
        {{"1", "Хлеб", "1.00", "abc"},
         "'abc' is not a valid floating point value\n"
         "Строка 4 таблицы \"Товары\", столбец \"Количество\": \"abc\" не число."},
        {{"1", "Хлеб", " "},
         "' ' is not a valid floating point value\n"
         "Строка 4 таблицы \"Товары\", столбец \"Цена\": \" \" не число."},
        {{"1", "Хлеб", "1e39"},
         "'1e39' is not a valid floating point value\n"
         "Строка 4 таблицы \"Товары\", столбец \"Цена\": \"1e39\" не число."},
    };
    for (const Case& c : cases) {
        const BuiltRecord record = BuildTableRecord(TableKind::Goods, c.row, Model::Neon, {4, 4});
        ASSERT_FALSE(record.ok());
        EXPECT_EQ(record.error->kind, RecordError::Kind::NotANumber);
        EXPECT_EQ(record.error->message, c.message);
        EXPECT_TRUE(record.text.isEmpty());
    }
}

}  // namespace
}  // namespace tabulon
