#include "sdcard/sales_table.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "catalogue/grid_model.h"
#include "sdcard/sales_layout.h"
#include "sdcard_test_support.h"
#include "text/cp1251.h"

namespace tabulon::sdcard {
namespace {

using testing::cp1251;
using testing::repeatedLines;

TEST(SalesTable, FixedCellsAreTheHeadersAndRowNumbersOnly) {
    GridModel sales(kSalesColumns, kSalesRows);
    sales.setCell(0, 2, "changed");
    sales.setCell(5, 0, "changed");
    sales.setCell(5, 3, "kept");
    writeSalesFixedCells(sales);
    EXPECT_EQ(sales.rowCells(0, 16),
              (QStringList{"Код", "Название", "Цена", "Количество", "Отдел", "Группа", "Налог",
                           "Тип", "КНЛ", "Штрих-код", "Прз", "Клво прод", "Об. прод", "Клво возв",
                           "Об. возв", "Скидки"}));
    EXPECT_EQ(sales.cell(0, 0), "Ряд");
    EXPECT_EQ(sales.cell(1, 0), "1");
    EXPECT_EQ(sales.cell(5, 0), "5");
    EXPECT_EQ(sales.cell(10000, 0), "10000");
    EXPECT_EQ(sales.cell(5, 3), "kept");
}

TEST(SalesFile, SixteenValuesPerRowAsTheGridShowsThem) {
    GridModel sales(kSalesColumns, kSalesRows);
    const QStringList first{"1", "Хлеб белый", "2.50", "1.000", "1",    "2", "1",    "0",
                            "0", "4820",       "1",    "3",     "7.50", "0", "0.00", "0.00"};
    for (int c = 1; c <= 16; ++c) sales.setCell(1, c, first[c - 1]);
    sales.setCell(1, 0, "1");
    sales.setCell(3, 2, "Сок–яблочный");
    // A goods line and a sales line of the card may together pass 199 bytes.
    sales.setCell(10000, 2, QString(150, 'x'));
    sales.setCell(10000, 16, QString(60, '9'));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int lines = 0;
    EXPECT_EQ(writeSalesFile(sales, buffer, [&lines] { ++lines; }).outcome,
              files::WriteOutcome::Complete);
    EXPECT_EQ(lines, 10000);
    const QByteArray empty(16, ';');
    EXPECT_EQ(buffer.data(),
              cp1251("1;Хлеб белый;2.50;1.000;1;2;1;0;0;4820;1;3;7.50;0;0.00;0.00;\r\n") +
                  repeatedLines(empty, 1) + cp1251(";Сок") + "\x96" + cp1251("яблочный;") +
                  QByteArray(14, ';') + "\r\n" + repeatedLines(empty, 9996) + ";" +
                  QByteArray(150, 'x') + ";" + QByteArray(13, ';') + QByteArray(60, '9') + ";\r\n");
}

TEST(SalesFile, GivesBackEveryByteTheCardHeldButNoCharacterOutsideTheCodePage) {
    GridModel sales(kSalesColumns, kSalesRows);
    const QByteArray cardBytes("c\rd\t\x01\x98", 6);
    sales.setCell(1, 13, text::fromCp1251(cardBytes));
    sales.setCell(3, 16, "€∑");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const files::WriteResult written = writeSalesFile(sales, buffer);
    EXPECT_EQ(written.outcome, files::WriteOutcome::NotEncodable);
    EXPECT_EQ(written.line, 3);
    EXPECT_EQ(written.value, 16);
    EXPECT_EQ(buffer.data(),
              QByteArray(12, ';') + cardBytes + ";;;;\r\n" + repeatedLines(QByteArray(16, ';'), 1));
}

TEST(SalesWindowSize, NarrowWindowsJumpTo931AndLowOnesTo380) {
    EXPECT_EQ(salesLayout(800, 706).width, 931);
    EXPECT_EQ(salesLayout(919, 706).width, 931);
    EXPECT_EQ(salesLayout(920, 706).width, 920);
    EXPECT_EQ(salesLayout(925, 706).width, 925);
    EXPECT_EQ(salesLayout(925, 379).height, 380);
    EXPECT_EQ(salesLayout(925, 380).height, 380);
    EXPECT_EQ(salesLayout(925, 706).height, 706);
}

TEST(SalesWindowSize, GridAndColumnsTakeTheirSharesOfTheWidth) {
    const SalesLayout wide = salesLayout(1000, 706);
    EXPECT_EQ(wide.gridWidth, 960);
    EXPECT_EQ(wide.columns, (SalesColumnWidths{32, 49, 144, 54, 58, 42, 42, 42, 28, 25, 74, 25, 60,
                                               60, 60, 60, 58}));
    const SalesLayout narrow = salesLayout(800, 706);
    EXPECT_EQ(narrow.gridWidth, 931 * 577 / 601);
    EXPECT_EQ(narrow.columns[2], 893 * 135 / 899);
}

}  // namespace
}  // namespace tabulon::sdcard
