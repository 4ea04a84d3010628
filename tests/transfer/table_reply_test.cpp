#include <gtest/gtest.h>

#include "support/cp1251.h"
#include "support/qt_print.h"
#include "transfer/record_messages.h"
#include "transfer/table_record.h"

namespace tabulon {
namespace {

using testing::cp1251;

TEST(TableReply, GoodsReplyFillsTenColumns) {
    const TableReply reply =
        ParseTableRecord(TableKind::Goods, cp1251("0;7;7;Товар7;0.00;0.000;1;1;1;1;0;0;"));
    EXPECT_FALSE(reply.badData);
    EXPECT_EQ(reply.cells,
              QStringList({"7", "Товар7", "0.00", "0.000", "1", "1", "1", "1", "0", "0"}));
}

TEST(TableReply, FieldsAreTakenAsTheyStand) {
    // No trimming and no number formatting; an empty field is a field.
    EXPECT_EQ(ParseTableRecord(TableKind::Goods, cp1251("x;y; 7 ;;12.5;3;")).cells,
              QStringList({" 7 ", "", "12.5", "3"}));
    EXPECT_EQ(ParseTableRecord(TableKind::HeaderText, "6;4;;").cells, QStringList({""}));
    // Every byte decodes, 0x98 (unassigned in the code page) included.
    EXPECT_EQ(ParseTableRecord(TableKind::Departments, "a;b;\xC2\xB3\x98\xFF;").cells,
              QStringList({QStringLiteral(u"Ві\u0098я")}));
}

TEST(TableReply, ShortRepliesFillTheLeadingColumnsOnly) {
    const TableReply reply = ParseTableRecord(TableKind::PaymentTypes, "9;3;1;1;Kredit");
    EXPECT_FALSE(reply.badData);
    EXPECT_EQ(reply.cells, QStringList({"1", "1"}));  // text after the last ";" is not a field

    for (const QByteArray& nothing : {QByteArray(), QByteArray("E"), QByteArray("1;"),
                                      QByteArray("1;2"), QByteArray("1;2;"), QByteArray("1;2;3")}) {
        const TableReply empty = ParseTableRecord(TableKind::Goods, nothing);
        EXPECT_TRUE(empty.cells.isEmpty()) << nothing.toStdString();
        EXPECT_FALSE(empty.badData);
    }
}

TEST(TableReply, OneFieldTooManyIsBadDataAfterTheFieldsBeforeIt) {
    TableReply reply = ParseTableRecord(TableKind::Departments, cp1251("10;1;Відділ 1;Зайве;"));
    EXPECT_TRUE(reply.badData);
    EXPECT_EQ(reply.cells, QStringList({"Відділ 1"}));

    reply = ParseTableRecord(TableKind::Operators, cp1251("3;1;1;Оператор1;0;0;"));
    EXPECT_TRUE(reply.badData);
    EXPECT_EQ(reply.cells, QStringList({"1", "Оператор1", "0"}));

    // The extra field must be closed by ";" to count.
    reply = ParseTableRecord(TableKind::Operators, cp1251("3;1;1;Оператор1;0;0"));
    EXPECT_FALSE(reply.badData);
    EXPECT_EQ(reply.cells.size(), 3);

    EXPECT_EQ(badReplyMessage(), "Приняты некорректные данные из ЭККА! Ошибка! Операция прерана!");
}

TEST(TableReply, AFullRecordOfEachTableIsNotBadData) {
    const struct {
        TableKind kind;
        QByteArray reply;
        int cells;
    } cases[] = {
        {TableKind::Goods, "0;1;1;a;1.00;1.000;1;1;1;1;0;0;", 10},
        {TableKind::Operators, "3;1;1;a;0;", 3},
        {TableKind::PaymentTypes, "9;1;1;1;a;1;0;", 5},
        {TableKind::Departments, "10;1;a;", 1},
        {TableKind::HeaderText, "6;1;a;", 1},
    };
    for (const auto& c : cases) {
        const TableReply reply = ParseTableRecord(c.kind, c.reply);
        EXPECT_FALSE(reply.badData) << c.reply.toStdString();
        EXPECT_EQ(reply.cells.size(), c.cells) << c.reply.toStdString();
        EXPECT_TRUE(ParseTableRecord(c.kind, c.reply + "x;").badData) << c.reply.toStdString();
    }
}

}  // namespace
}  // namespace tabulon
