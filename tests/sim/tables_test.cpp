#include "sim/tables.h"

#include <gtest/gtest.h>

using namespace tabulon::sim;

namespace {

const Model kModels[] = {Model::DatecsMp550T, Model::DatecsMp50Junior, Model::Neon};

int records(Model model, int table) {
    return RegisterTables(model).shape(table)->records;
}

}  // namespace

TEST(RegisterTables, RecordRangesOfTheThreeModels) {
    EXPECT_EQ(records(Model::DatecsMp550T, 0), 10000);
    EXPECT_EQ(records(Model::DatecsMp50Junior, 0), 5000);
    EXPECT_EQ(records(Model::Neon, 0), 10000);
    EXPECT_EQ(records(Model::DatecsMp50Junior, 65), 5000);
    for (Model model : kModels) {
        const std::pair<int, int> expected[] = {{2, 1},   {3, 20},  {5, 1},     {6, 12},  {8, 1},
                                                {9, 5},   {10, 20}, {136, 200}, {74, 20}, {75, 99},
                                                {76, 20}, {77, 1},  {78, 1},    {79, 1}};
        for (auto [table, count] : expected) EXPECT_EQ(records(model, table), count) << table;
    }

    RegisterTables junior(Model::DatecsMp50Junior);
    QByteArray fields;
    EXPECT_EQ(junior.read(0, 5000, fields), Refusal::None);
    EXPECT_EQ(junior.read(0, 5001, fields), Refusal::RecordOutOfRange);
    EXPECT_EQ(junior.read(0, 0, fields), Refusal::RecordOutOfRange);
    EXPECT_EQ(junior.read(1, 1, fields), Refusal::UnknownTable);
    EXPECT_EQ(junior.read(136, 201, fields), Refusal::RecordOutOfRange);
}

TEST(RegisterTables, EveryDefaultRecordHasItsTablesFieldsAndFitsAShortReply) {
    for (Model model : kModels) {
        RegisterTables tables(model);
        for (int table : {0, 2, 3, 5, 6, 8, 9, 10, 136, 65, 74, 75, 76, 77, 78, 79}) {
            const TableShape* shape = tables.shape(table);
            ASSERT_TRUE(shape);
            for (int record = 1; record <= shape->records; ++record) {
                QByteArray fields;
                ASSERT_EQ(tables.read(table, record, fields), Refusal::None);
                ASSERT_TRUE(fields.endsWith(';')) << table << '/' << record;
                ASSERT_EQ(fields.count(';'), shape->fields) << table << '/' << record;
                const QByteArray reply =
                    QByteArray::number(table) + ';' + QByteArray::number(record) + ';' + fields;
                ASSERT_LE(reply.size(), 99) << table << '/' << record;
            }
        }
    }
    EXPECT_EQ(RegisterTables(Model::DatecsMp550T).shape(2)->fields, 13);
    EXPECT_EQ(RegisterTables(Model::DatecsMp50Junior).shape(2)->fields, 11);
    EXPECT_EQ(RegisterTables(Model::Neon).shape(2)->fields, 12);
    EXPECT_EQ(RegisterTables(Model::DatecsMp550T).shape(8)->fields, 11);
    EXPECT_EQ(RegisterTables(Model::DatecsMp50Junior).shape(8)->fields, 12);
    EXPECT_EQ(RegisterTables(Model::Neon).shape(8)->fields, 11);
}

TEST(RegisterTables, DefaultContents) {
    EXPECT_EQ(defaultRecord(Model::DatecsMp550T, 6, 3), QByteArray(12, ' ') + "\xCC\xD0-550\xD2;");
    EXPECT_EQ(defaultRecord(Model::DatecsMp50Junior, 6, 3), "         MP-50 Junior;");
    EXPECT_EQ(defaultRecord(Model::Neon, 6, 3), QByteArray(17, ' ') + "Neon;");
    EXPECT_EQ(defaultRecord(Model::Neon, 0, 21), "0; ;0.00;0.000;1;1;1;1;0;0;");
    EXPECT_EQ(defaultRecord(Model::Neon, 136, 71),
              "0;0;0;" + QByteArray("255;").repeated(18) + "0;0;0;");
}

TEST(RegisterTables, WrittenFieldsReplaceTheLeadingOnes) {
    RegisterTables tables(Model::Neon);
    QByteArray fields;

    // An operator is written with four fields and kept with three.
    EXPECT_EQ(tables.write(3, 4, cp1251(QStringLiteral("44;Марія;1;0;"))), Refusal::None);
    tables.read(3, 4, fields);
    EXPECT_EQ(fields, cp1251(QStringLiteral("44;Марія;1;")));

    // Fewer fields leave the others; text after the last ";" is no field.
    EXPECT_EQ(tables.write(9, 2, "0;1;Bon;tail"), Refusal::None);
    tables.read(9, 2, fields);
    EXPECT_EQ(fields, cp1251(QStringLiteral("0;1;Bon;0;0;")));

    EXPECT_EQ(tables.write(9, 3, "no fields"), Refusal::NoFields);
    EXPECT_EQ(tables.write(65, 1, "1;x;1.000;1.00;"), Refusal::ReadOnlyTable);
    EXPECT_EQ(tables.write(7, 1, "1;"), Refusal::UnknownTable);
    EXPECT_EQ(tables.write(10, 21, "1;"), Refusal::RecordOutOfRange);

    tables.reset();
    tables.read(3, 4, fields);
    EXPECT_EQ(fields, cp1251(QStringLiteral("4;Оператор4;0;")));
}
