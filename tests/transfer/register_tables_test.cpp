#include "transfer/register_tables.h"

#include <gtest/gtest.h>

#include "catalogue/grid_catalogue.h"

namespace tabulon {
namespace {

constexpr Model kModels[] = {Model::DatecsMp550T, Model::DatecsMp50Junior, Model::Neon};

TEST(RegisterTables, NumbersAndRecordRanges) {
    const struct {
        TableKind kind;
        int table;
        RecordRange written[3];  // MP-550T, MP-50 Junior, Neon
        RecordRange read[3];
    } expected[] = {
        {TableKind::Goods,
         0,
         {{1, 10000}, {1, 5000}, {1, 10000}},
         {{1, 10000}, {1, 5000}, {1, 10000}}},
        {TableKind::Operators, 3, {{1, 20}, {1, 20}, {1, 20}}, {{1, 20}, {1, 20}, {1, 20}}},
        {TableKind::PaymentTypes, 9, {{2, 5}, {2, 5}, {2, 4}}, {{1, 5}, {1, 5}, {1, 5}}},
        {TableKind::Departments, 10, {{1, 20}, {1, 20}, {1, 20}}, {{1, 20}, {1, 20}, {1, 20}}},
        {TableKind::HeaderText, 6, {{1, 12}, {1, 12}, {1, 12}}, {{1, 12}, {1, 12}, {1, 12}}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(static_cast<int>(e.kind));
        EXPECT_EQ(registerTableNumber(e.kind), e.table);
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(writtenRecords(e.kind, kModels[m]), e.written[m]) << m;
            EXPECT_EQ(clearedRecords(e.kind, kModels[m]), e.written[m]) << m;
            EXPECT_EQ(readRecords(e.kind, kModels[m]), e.read[m]) << m;
        }
    }
    EXPECT_EQ(registerTableNumber(ParameterSet::CashRegisterParameters), 2);
    EXPECT_EQ(registerTableNumber(ParameterSet::ReceiptParameters), 5);
    EXPECT_EQ(registerTableNumber(ParameterSet::ServiceParameters), 8);
}

TEST(RegisterTables, GridLayoutMatchesTheWindowGrids) {
    for (int tab = 0; tab < kGridTableCount; ++tab) {
        const GridTable& table = registerTable(tableKindOfTab(tab));
        EXPECT_EQ(table.dataColumns, gridShape(table.kind).columns - 1) << tab;
        for (const RecordField& field : table.fields) {
            EXPECT_LE(field.column, table.dataColumns) << tab;
            EXPECT_EQ(field.column == 0, field.rule == FieldRule::Zero) << tab;
        }
    }
}

}  // namespace
}  // namespace tabulon
