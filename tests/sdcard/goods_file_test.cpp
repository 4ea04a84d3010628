#include "sdcard/goods_file.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "sdcard_test_support.h"

namespace tabulon::sdcard {
namespace {

using testing::cp1251;
using testing::repeatedLines;

GridModel goodsGrid() {
    const GridShape& shape = gridShape(TableKind::Goods);
    return GridModel(shape.columns, shape.rows);
}

QByteArray written(const GridModel& goods, files::WriteOutcome expected = files::WriteOutcome::Complete,
                   int* lines = nullptr) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int count = 0;
    EXPECT_EQ(writeGoodsFile(goods, buffer, [&count] { ++count; }), expected);
    if (lines) *lines = count;
    return buffer.data();
}

const QByteArray kEmptyLine = ";;;;;;;;;;";

// The bytes of the text with each "~" as the byte 0x96.
QByteArray withDashes(const QString& text) {
    return cp1251(text).replace('~', '\x96');
}

TEST(GoodsFile, AnEmptyGridIsTenThousandEmptyArticleLines) {
    GridModel goods = goodsGrid();
    int lines = 0;
    EXPECT_EQ(written(goods, files::WriteOutcome::Complete, &lines), repeatedLines(kEmptyLine, 10000));
    EXPECT_EQ(lines, 10000);
}

TEST(GoodsFile, SpacesOfANameBecomeDashesInTheFileOnlyAndTwoWritesAgree) {
    GridModel goods = goodsGrid();
    const QStringList first{"1", "Хлеб белый", "0.00", "0.000", "1", "1", "1", "1", "0", "0"};
    for (int c = 1; c <= 10; ++c) goods.setCell(1, c, first[c - 1]);
    goods.setCell(2, 1, "2");
    goods.setCell(2, 2, "Сок  яблочный 1 л");
    // Spaces elsewhere than in the name are not the card's business.
    goods.setCell(2, 10, "48 2");
    goods.setCell(10000, 2, "Последний товар");

    const QByteArray bytes = written(goods);
    EXPECT_EQ(bytes, withDashes("1;Хлеб~белый;0.00;0.000;1;1;1;1;0;0;\r\n"
                                "2;Сок~~яблочный~1~л;;;;;;;;48 2;\r\n") +
                         repeatedLines(kEmptyLine, 9997) +
                         withDashes(";Последний~товар;;;;;;;;;\r\n"));
    EXPECT_EQ(goods.rowCells(1, 10), first);
    EXPECT_EQ(goods.cell(2, 2), "Сок  яблочный 1 л");
    EXPECT_EQ(goods.cell(10000, 2), "Последний товар");
    EXPECT_EQ(written(goods), bytes);
}

TEST(GoodsFile, RowsHiddenByTheModelAreWrittenAll) {
    GridModel goods = goodsGrid();
    goods.setVisibleRows(5001);
    goods.setCell(7000, 1, "7000");
    const QByteArray bytes = written(goods);
    EXPECT_EQ(bytes.count("\r\n"), 10000);
    EXPECT_TRUE(bytes.contains("\r\n7000;;;;;;;;;;\r\n"));
}

TEST(GoodsFile, StopsAtALineItCannotWriteWhole) {
    GridModel goods = goodsGrid();
    goods.setCell(3, 2, "Σ");
    int lines = 0;
    written(goods, files::WriteOutcome::NotEncodable, &lines);
    EXPECT_EQ(lines, 2);

    goods.setCell(3, 2, QString());
    // 189 + 10 separators = 199 bytes read back with the line feed as 200.
    goods.setCell(5, 2, QString(189, 'x'));
    written(goods, files::WriteOutcome::LineTooLong, &lines);
    EXPECT_EQ(lines, 4);
    goods.setCell(5, 2, QString(188, 'x'));
    written(goods, files::WriteOutcome::Complete, &lines);
    EXPECT_EQ(lines, 10000);
}

TEST(GoodsFile, ADeviceThatTakesNoMoreIsAnError) {
    GridModel goods = goodsGrid();
    QBuffer closed;
    EXPECT_EQ(writeGoodsFile(goods, closed), files::WriteOutcome::DeviceError);
}

}  // namespace
}  // namespace tabulon::sdcard
