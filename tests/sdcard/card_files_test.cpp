#include "sdcard/card_files.h"

#include <gtest/gtest.h>

#include "catalogue/grid_model.h"
#include "sdcard/sales_table.h"
#include "sdcard_test_support.h"

namespace tabulon::sdcard {
namespace {

using testing::BytesDevice;
using testing::cp1251;
using testing::repeatedLines;
using testing::salesLines;
using testing::uploadLines;

// How one line of a card file splits into the grid's cells.
TEST(CardLine, SplitsIntoTheGridsCells) {
    const QStringList none10(10, QString());
    const QStringList none6(6, QString());
    const QStringList sales{"1", "3", "7.50", "0", "0.00", "0.00"};
    const QStringList lastField{"1", "3", "7.50", "0", "0.00", "0.25"};
    const struct {
        const char* what;
        QString line;
        CardFile file;
        QStringList cells;
    } rows[] = {
        {"goods: the leading field skipped, the name's dashes are spaces",
         "17;5;Хлеб–белый–1;2.50;1.000;1;2;1;0;0;4820;\n",
         CardFile::Upload,
         {"5", "Хлеб белый 1", "2.50", "1.000", "1", "2", "1", "0", "0", "4820"}},
        {"goods: only the name's dashes, an empty leading field is one",
         ";–;–;a;b;c;d;e;f;g;h;i;j\n",
         CardFile::Upload,
         {"–", " ", "a", "b", "c", "d", "e", "f", "g", "h"}},
        {"sales", "1;1;3;7.50;0;0.00;0.00;\n", CardFile::Sales, sales},
        {"sales: the leading field ends after its first character", ";x;1;3;7.50;0;0.00;0.00;\n",
         CardFile::Sales, sales},
        {"sales: dashes mean nothing",
         "1;–;–;–;–;–;–\n",
         CardFile::Sales,
         {"–", "–", "–", "–", "–", "–"}},
        {"the last field runs to the line end", "1;1;3;7.50;0;0.00;0.25\n", CardFile::Sales,
         lastField},
        {"the last field runs to the file end", "1;1;3;7.50;0;0.00;0.25", CardFile::Sales,
         lastField},
        {"two line-end characters at most come off; inside a field they are data",
         "1;a\r\n;b\r\r\r;c\rd;4;5;f\r\r\n",
         CardFile::Sales,
         {"a", "b\r", "c\rd", "4", "5", "f\r"}},
        {"missing fields are empty",
         "9;9;Хлеб\n",
         CardFile::Upload,
         {"9", "Хлеб", "", "", "", "", "", "", "", ""}},
        {"no separator at all", "no separator at all\n", CardFile::Upload, none10},
        {"the leading field alone", "1", CardFile::Sales, none6},
        {"extra fields are ignored",
         "1;1;2;3;4;5;6;7;8;\n",
         CardFile::Sales,
         {"1", "2", "3", "4", "5", "6"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(cardLineFields(row.line, row.file), row.cells) << row.what;
}

class CardFileRead : public ::testing::Test {
protected:
    CardFileRead() : sales_(kSalesColumns, kSalesRows) {}

    CardReadResult read(const QByteArray& bytes, CardFile file) {
        BytesDevice device(bytes);
        return readCardFile(device, file, sales_, [this] { ++steps_; });
    }

    GridModel sales_;
    int steps_ = 0;
};

TEST_F(CardFileRead, GoodsAndSalesGoToTheirOwnColumnsOfTenThousandRows) {
    sales_.setCell(1, 0, "row label");
    EXPECT_EQ(read(uploadLines(10000) + "10001;x;y;\r\n", CardFile::Upload).outcome,
              CardReadOutcome::Complete);
    EXPECT_EQ(read(salesLines(10001), CardFile::Sales).outcome, CardReadOutcome::Complete);
    EXPECT_EQ(steps_, 20000);
    EXPECT_EQ(sales_.rowCells(1, 16),
              (QStringList{"1", "G1", "1.00", "2.000", "1", "2", "1", "0", "0", "481", "1", "1",
                           "1.00", "0", "0.00", "0.50"}));
    EXPECT_EQ(sales_.rowCells(10000, 16),
              (QStringList{"10000", "G10000", "1.00", "2.000", "1", "2", "1", "0", "0", "4810000",
                           "1", "10000", "10000.00", "0", "0.00", "0.50"}));
    EXPECT_EQ(sales_.cell(1, 0), "row label");
}

TEST_F(CardFileRead, BlankLinesTakeNoRow) {
    QByteArray spaced;
    const QList<QByteArray> lines = uploadLines(10000).split('\n');
    for (int i = 0; i < 10000; ++i) spaced += lines[i] + (i % 3 ? "\n" : "\n\r\n\n");
    GridModel plain(kSalesColumns, kSalesRows);
    BytesDevice device(uploadLines(10000));
    readCardFile(device, CardFile::Upload, plain);

    EXPECT_EQ(read(spaced, CardFile::Upload).outcome, CardReadOutcome::Complete);
    for (int row : {1, 2, 3, 4, 5000, 10000})
        EXPECT_EQ(sales_.rowCells(row, 16), plain.rowCells(row, 16)) << row;
}

TEST_F(CardFileRead, ALongLineIsReadInPiecesOf199BytesThatCountAsLines) {
    // The first line's name reaches past 199 bytes: its rest is record 2.
    const QByteArray longName(240, 'N');
    const QByteArray first = "1;1;" + longName + ";1.00;";
    EXPECT_EQ(read(uploadLines(9999, first), CardFile::Upload).outcome, CardReadOutcome::Complete);
    EXPECT_EQ(sales_.cell(1, 2), QString(longName.left(195)));
    EXPECT_EQ(sales_.rowCells(2, 3), (QStringList{"1.00", "", ""}));
    EXPECT_EQ(sales_.cell(3, 1), "2");
    EXPECT_EQ(sales_.cell(10000, 1), "9999");
}

TEST_F(CardFileRead, AShortFileFillsTheRowsItHasAndLeavesTheRest) {
    for (int column = 1; column <= 16; ++column) sales_.setCell(10000, column, "earlier");
    const CardReadResult result = read(salesLines(9999), CardFile::Sales);
    EXPECT_EQ(result.outcome, CardReadOutcome::EndOfFile);
    EXPECT_EQ(result.rowsFilled, 9999);
    EXPECT_EQ(steps_, 9999);
    EXPECT_EQ(sales_.cell(9999, 12), "9999");
    EXPECT_EQ(sales_.rowCells(10000, 16), QStringList(16, "earlier"));
    EXPECT_EQ(sales_.cell(9999, 1), "");

    const CardReadResult empty = read(repeatedLines("", 20000), CardFile::Upload);
    EXPECT_EQ(empty.outcome, CardReadOutcome::EndOfFile);
    EXPECT_EQ(empty.rowsFilled, 0);
}

}  // namespace
}  // namespace tabulon::sdcard
