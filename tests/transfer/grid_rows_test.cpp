#include "transfer/grid_rows.h"

#include <gtest/gtest.h>

#include "support/cp1251.h"
#include "support/qt_print.h"

namespace tabulon {
namespace {

using testing::cp1251;

TEST(GridRows, ReadBackRowKeepsTheColumnsTheReplyDoesNotReach) {
    GridModel grid(6, 6);  // the payment types grid
    for (int column = 0; column < 6; ++column) grid.setCell(3, column, "old");

    const TableReply reply = ParseTableRecord(TableKind::PaymentTypes, cp1251("9;3;1;0;Кредит;"));
    fillRow(grid, 3, reply);
    EXPECT_EQ(grid.rowCells(3, 5), QStringList({"1", "0", "Кредит", "old", "old"}));
    EXPECT_EQ(grid.cell(3, 0), "old");  // the row label is not a field
}

}  // namespace
}  // namespace tabulon
