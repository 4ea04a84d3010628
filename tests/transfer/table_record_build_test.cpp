#include <gtest/gtest.h>

#include <QLocale>

#include "cp1251_bytes.h"
#include "qt_print.h"
#include "transfer/table_record.h"

namespace tabulon {
namespace {

QByteArray built(TableKind kind, const QStringList& cells, Model model = Model::DatecsMp550T,
                 RecordPlace place = {1, 1}) {
    const BuiltRecord record = BuildTableRecord(kind, cells, model, place);
    EXPECT_TRUE(record.ok()) << (record.error ? record.error->message.toStdString() : "");
    return record.text;
}

TEST(GoodsRecord, EmptyRowGivesTenFieldsWithZeroPriceQuantityAndBarcode) {
    const QByteArray expected = ";;0.00;0.000;;;;;;0;";
    EXPECT_EQ(built(TableKind::Goods, QStringList(10, QString())), expected);
    EXPECT_EQ(built(TableKind::Goods, {}), expected);  // missing cells count as empty
    EXPECT_EQ(built(TableKind::Goods, {}, Model::Neon), expected);
}

TEST(GoodsRecord, FullRowKeepsCellsAndReformatsNumbers) {
    EXPECT_EQ(built(TableKind::Goods,
                    {"7", "Молоко 2,5%", "12.5", "3", "1", "2", "3", "0", "0", "4820000000017"}),
              cp1251("7;Молоко 2,5%;12.50;3.000;1;2;3;0;0;4820000000017;"));
    // Blanks are the user's: nothing is trimmed, a blank barcode is not empty.
    EXPECT_EQ(
        built(TableKind::Goods, {" 7 ", " Чай ", " 0.125", "1234567.89 ", "", "", "", "", "", " "}),
        cp1251(" 7 ; Чай ;0.13;1234567.875;;;;;; ;"));
    EXPECT_EQ(built(TableKind::Goods, {"1", "", "1234567.89", "-0.5"}),
              QByteArray("1;;1234567.88;-0.500;;;;;;0;"));
}

TEST(GoodsRecord, NameIsCutToWhatTheModelPrints) {
    const QString name = QString(20, QChar(u'Ж')) + QString(25, QChar(u'z'));  // 45 characters
    const QByteArray forty = cp1251("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖzzzzzzzzzzzzzzzzzzzz");
    const QStringList row{"1", name};
    EXPECT_EQ(built(TableKind::Goods, row, Model::Neon), "1;" + forty + ";0.00;0.000;;;;;;0;");
    EXPECT_EQ(built(TableKind::Goods, row, Model::DatecsMp550T),
              "1;" + forty.left(32) + ";0.00;0.000;;;;;;0;");
    EXPECT_EQ(built(TableKind::Goods, row, Model::DatecsMp50Junior),
              "1;" + forty.left(32) + ";0.00;0.000;;;;;;0;");
}

TEST(GoodsRecord, BarcodeKeepsThirteenDigits) {
    QStringList row(10, QString());
    row[9] = "482000000001799";
    EXPECT_EQ(built(TableKind::Goods, row), ";;0.00;0.000;;;;;;4820000000017;");
    row[9] = "12";
    EXPECT_EQ(built(TableKind::Goods, row), ";;0.00;0.000;;;;;;12;");
}

TEST(GoodsRecord, UncutColumnsGoOutWhole) {
    const QString longText(60, QChar(u'9'));
    const QByteArray l = longText.toLatin1();
    EXPECT_EQ(built(TableKind::Goods, {longText, "n", "1", "1", "5", "6", "7", "8", "9", "0"}),
              l + ";n;1.00;1.000;5;6;7;8;9;0;");
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
        {{"1", "Хлеб", " "}, "' ' is not a valid floating point value\n"
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

TEST(OperatorRecord, AlwaysFourFieldsTheLastZero) {
    EXPECT_EQ(built(TableKind::Operators, {"12", "Иванов Иван", "ABCDEFGHIJKL"}),
              cp1251("12;Иванов И;ABCDEFGHIJ;0;"));
    EXPECT_EQ(built(TableKind::Operators, {}), ";;;0;");
    // A fourth cell, should a caller pass one, does not replace the zero.
    EXPECT_EQ(built(TableKind::Operators, {"1", "A", "1", "9"}), "1;A;1;0;");
}

TEST(PaymentTypeRecord, EmptyFlagsAreZeroAndFlagsKeepOneCharacter) {
    EXPECT_EQ(built(TableKind::PaymentTypes, {"", "", "Платіжна картка банку", "", ""}),
              cp1251("0;0;Платіжна картка банк;0;0;"));
    EXPECT_EQ(built(TableKind::PaymentTypes, {"10", "01", "Чек", "1", "yes"}, Model::Neon),
              cp1251("1;0;Чек;1;y;"));
}

TEST(TextRecords, DepartmentAndHeaderLinesAreCut) {
    EXPECT_EQ(built(TableKind::Departments, {"Бакалія та кондитерські вироби"}),
              cp1251("Бакалія та кондитерськ;"));
    EXPECT_EQ(built(TableKind::Departments, {""}), ";");
    const QString line = QString(30, QChar(u' ')) + "Україна, м.Київ";
    EXPECT_EQ(built(TableKind::HeaderText, {line}),
              cp1251("                              Україна,;"));
    EXPECT_EQ(built(TableKind::HeaderText, {"a", "ignored"}), "a;");
}

}  // namespace
}  // namespace tabulon
