#include <gtest/gtest.h>

#include <QBuffer>

#include "catalogue/parameter_values.h"
#include "file_test_support.h"
#include "files/table_file_reader.h"
#include "files/table_file_writer.h"

namespace tabulon::files {
namespace {

using testing::BytesDevice;
using testing::cp1251;
using testing::makeGrid;
using testing::repeatedLines;

const QStringList kArticle{"1", "Товар1", "0.00", "0.000", "1", "1", "1", "1", "0", "0"};

void setRow(GridModel& grid, int row, const QStringList& values) {
    for (int column = 1; column <= values.size(); ++column)
        grid.setCell(row, column, values[column - 1]);
}

QByteArray write(const GridModel& grid, const GridFileLayout& layout, int* lines = nullptr) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int written = 0;
    EXPECT_EQ(writeGridTable(grid, layout, buffer, [&] { ++written; }), WriteOutcome::Complete);
    if (lines) *lines = written;
    return bytes;
}

ReadResult read(const QByteArray& bytes, GridModel& grid, const GridFileLayout& layout,
                int* lines = nullptr) {
    BytesDevice device(bytes);
    int read = 0;
    ReadResult result = readGridTable(device, grid, layout, [&] { ++read; });
    if (lines) *lines = read;
    return result;
}

TEST(GridTableFile, ArticlesFor550TAreTenThousandLinesEmptyRowsIncluded) {
    auto grid = makeGrid(TableKind::Goods);
    setRow(*grid, 1, kArticle);
    grid->setCell(0, 1, "Код");  // the header row and the row labels stay out
    grid->setCell(2, 0, "2");
    const GridFileLayout layout = gridFileLayout(TableKind::Goods, Model::DatecsMp550T);
    int lines = 0;
    const QByteArray bytes = write(*grid, layout, &lines);
    EXPECT_EQ(lines, 10000);
    EXPECT_EQ(bytes,
              cp1251("1;Товар1;0.00;0.000;1;1;1;1;0;0;\r\n") + repeatedLines(";;;;;;;;;;", 9999));

    auto loaded = makeGrid(TableKind::Goods);
    setRow(*loaded, 2, kArticle);  // overwritten by the empty line 2
    const ReadResult result = read(bytes, *loaded, layout, &lines);
    EXPECT_EQ(result.outcome, ReadOutcome::Complete);
    EXPECT_EQ(lines, 10000);
    for (int row = 1; row <= 10000; ++row)
        for (int column = 1; column <= 10; ++column)
            ASSERT_EQ(loaded->cell(row, column), grid->cell(row, column)) << row << ":" << column;
}

TEST(GridTableFile, EmptyLineEndsTheFileEarly) {
    const GridFileLayout layout = gridFileLayout(TableKind::Operators, Model::DatecsMp550T);
    for (const QByteArray blank : {"\r\n", "\n"}) {
        auto grid = makeGrid(TableKind::Operators);
        setRow(*grid, 3, {"3", "keep", "3"});
        const QByteArray bytes = "1;A;1;\r\n2;B;0;\r\n" + blank + "4;D;1;\r\n";
        int lines = 0;
        const ReadResult result = read(bytes, *grid, layout, &lines);
        EXPECT_EQ(result.outcome, ReadOutcome::EndOfFile);
        EXPECT_EQ(result.linesStored, 2);
        EXPECT_EQ(lines, 2);
        EXPECT_EQ(grid->rowCells(2, 3), (QStringList{"2", "B", "0"}));
        EXPECT_EQ(grid->rowCells(3, 3), (QStringList{"3", "keep", "3"}));
        EXPECT_EQ(grid->cell(4, 1), "");
    }
}

TEST(GridTableFile, ArticleLineWithEightValuesIsShortAndKeepsWhatItTook) {
    const GridFileLayout layout = gridFileLayout(TableKind::Goods, Model::Neon);
    auto grid = makeGrid(TableKind::Goods);
    setRow(*grid, 2, QStringList(10, "old"));
    const QByteArray bytes = cp1251(
        "1;Товар1;0.00;0.000;1;1;1;1;0;0;\r\n"
        "1;Товар2;5.00;1.000;2;3;4;5;\r\n");
    int lines = 0;
    const ReadResult result = read(bytes, *grid, layout, &lines);
    EXPECT_EQ(result.outcome, ReadOutcome::ShortLine);
    EXPECT_EQ(result.linesStored, 1);
    EXPECT_EQ(result.lineStart, "1");
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(grid->rowCells(1, 10), kArticle);
    EXPECT_EQ(grid->rowCells(2, 10),
              (QStringList{"1", "Товар2", "5.00", "1.000", "2", "3", "4", "5", "old", "old"}));

    auto other = makeGrid(TableKind::Goods);
    EXPECT_EQ(read(";x;\r\n", *other, layout).lineStart, "");
    EXPECT_EQ(read(cp1251("Ящик;\r\n"), *other, layout).lineStart, "Я");
}

TEST(GridTableFile, LongLineIsCutAndItsRestBecomesTheNextRow) {
    auto grid = makeGrid(TableKind::Departments);
    const QByteArray name(248, 'N');
    const QByteArray bytes = name + ";\r\n" + repeatedLines("x;", 19);
    ASSERT_EQ(name.size() + 2, 250);
    const ReadResult result =
        read(bytes, *grid, gridFileLayout(TableKind::Departments, Model::DatecsMp550T));
    EXPECT_EQ(result.outcome, ReadOutcome::Complete);
    EXPECT_EQ(result.splitLine, 1);
    EXPECT_EQ(grid->cell(1, 1), QString(199, 'N'));
    EXPECT_EQ(grid->cell(2, 1), QString(49, 'N'));
    EXPECT_EQ(grid->cell(3, 1), "x");
    EXPECT_EQ(grid->cell(20, 1), "x");

    // The first line cut is named, by its place in the file (the second long
    // line, file line 4, went into rows 5 and 6).
    const QByteArray two =
        repeatedLines("x;", 2) + name + ";\r\n" + name + ";\r\n" + repeatedLines("x;", 16);
    EXPECT_EQ(
        read(two, *grid, gridFileLayout(TableKind::Departments, Model::DatecsMp550T)).splitLine, 3);
    EXPECT_EQ(read(repeatedLines("x;", 20), *grid,
                   gridFileLayout(TableKind::Departments, Model::DatecsMp550T))
                  .splitLine,
              0);
}

// A line that the reader would cut in two must not be written: on loading, its
// rest would become the next row, shifting the rows after it and losing the
// last one without a word.
TEST(GridTableFile, LineTooLongToReadBackIsNotWritten) {
    auto grid = makeGrid(TableKind::Departments);
    const GridFileLayout layout = gridFileLayout(TableKind::Departments, Model::DatecsMp550T);
    grid->setCell(1, 1, QString(197, 'N'));  // 197 + ";" + LF: the longest line read whole
    grid->setCell(20, 1, "last");
    const QByteArray bytes = write(*grid, layout);
    auto loaded = makeGrid(TableKind::Departments);
    ASSERT_EQ(read(bytes, *loaded, layout).outcome, ReadOutcome::Complete);
    EXPECT_EQ(loaded->cell(1, 1), QString(197, 'N'));
    EXPECT_EQ(loaded->cell(20, 1), "last");

    grid->setCell(2, 1, QString(198, 'N'));
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    int lines = 0;
    EXPECT_EQ(writeGridTable(*grid, layout, buffer, [&] { ++lines; }), WriteOutcome::LineTooLong);
    EXPECT_EQ(lines, 1);

    ParameterMap fields;
    fields.setFieldText("Edit15", QString(191, 'p'));
    QByteArray line;
    QBuffer lineBuffer(&line);
    lineBuffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(
        writeParameterLine(
            fields, parameterFileLayout(ParameterSet::ReceiptParameters, Model::Neon), lineBuffer),
        WriteOutcome::LineTooLong);
    EXPECT_TRUE(line.isEmpty());
}

TEST(GridTableFile, HiddenRowsAreWrittenAndReadForEveryModel) {
    for (Model model : {Model::DatecsMp550T, Model::DatecsMp50Junior, Model::Neon}) {
        auto header = makeGrid(TableKind::HeaderText);
        header->setVisibleRows(model == Model::Neon ? 13 : 8);
        header->setCell(12, 1, "Сервис");
        const QByteArray text = write(*header, gridFileLayout(TableKind::HeaderText, model));
        EXPECT_EQ(text, repeatedLines(";", 11) + cp1251("Сервис;\r\n"));

        auto payments = makeGrid(TableKind::PaymentTypes);
        payments->setVisibleRows(model == Model::Neon ? 5 : 6);
        payments->setCell(5, 3, "Чек");
        const QByteArray bytes = write(*payments, gridFileLayout(TableKind::PaymentTypes, model));
        EXPECT_EQ(bytes, repeatedLines(";;;;;", 4) + cp1251(";;Чек;;;\r\n"));

        auto loaded = makeGrid(TableKind::PaymentTypes);
        loaded->setVisibleRows(model == Model::Neon ? 5 : 6);
        read(bytes, *loaded, gridFileLayout(TableKind::PaymentTypes, model));
        EXPECT_EQ(loaded->cell(5, 3), "Чек");
    }
}

TEST(GridTableFile, EveryByteIsLoadedAsItIsButControlBytesAreNotSavedBack) {
    // Bytes 0x80-0xFF in one cell; the control bytes (CR and LF aside, which
    // end lines) and the printable ASCII (";" aside) in the others.
    QByteArray high, low, ascii;
    for (int byte = 0x80; byte <= 0xFF; ++byte) high.append(char(byte));
    for (int byte = 0x00; byte < 0x20; ++byte)
        if (byte != '\r' && byte != '\n') low.append(char(byte));
    for (int byte = 0x20; byte < 0x80; ++byte)
        if (byte != ';') ascii.append(char(byte));
    const QByteArray bytes =
        high.first(64) + ";" + high.sliced(64) + ";\r\n" + low + ";" + ascii + ";\r\n";
    auto grid = makeGrid(TableKind::Operators);
    const GridFileLayout twoLines{2, 2};
    ASSERT_EQ(read(bytes, *grid, twoLines).outcome, ReadOutcome::Complete);
    EXPECT_EQ(grid->cell(1, 1).size(), 64);
    EXPECT_EQ(grid->cell(1, 1).front(), u'Ђ');
    EXPECT_EQ(grid->cell(1, 2).back(), u'я');
    EXPECT_EQ(grid->cell(2, 1), QString::fromLatin1(low));
    EXPECT_EQ(grid->cell(2, 2), QString::fromLatin1(ascii));

    // A NUL or a tab is kept on loading, but saved it would reach a register
    // through the next load: the save names where it is instead.
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult result = writeGridTable(*grid, twoLines, buffer);
    EXPECT_EQ(result.outcome, WriteOutcome::ControlCharacter);
    EXPECT_EQ(result.line, 2);
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(result.character, "U+0000");
    EXPECT_EQ(written, high.first(64) + ";" + high.sliced(64) + ";\r\n");

    grid->setCell(2, 1, "");
    EXPECT_EQ(write(*grid, twoLines), bytes.first(bytes.indexOf('\n') + 1) + ";" + ascii + ";\r\n");
}

TEST(GridTableFile, FileOfUtf8TextIsReadAsUtf8AndSaidSo) {
    const QByteArray utf8 = QStringLiteral("Молоко;Хліб;\r\n").toUtf8();
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList cells;
        bool readAsUtf8;
    } cases[] = {
        {"Windows-1251", cp1251("Молоко;Хліб;\r\n"), {"Молоко", "Хліб"}, false},
        {"UTF-8", utf8, {"Молоко", "Хліб"}, true},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, {"Молоко", "Хліб"}, true},
        {"ASCII", "Milk;Bread;\r\n", {"Milk", "Bread"}, false},
        // A cut-off last character: not UTF-8 text, so the bytes as ever.
        {"UTF-8 cut short", utf8 + "\xD0", {"РњРѕР»РѕРєРѕ", "РҐР»С–Р±"}, false},
    };
    for (const auto& row : cases) {
        auto grid = makeGrid(TableKind::Operators);
        const ReadResult result = read(row.bytes, *grid, {1, 2});
        EXPECT_EQ(result.readAsUtf8, row.readAsUtf8) << row.name;
        EXPECT_EQ(grid->rowCells(1, 2), row.cells) << row.name;
    }
    EXPECT_EQ(readAsUtf8Note("shop.otd"),
              "shop.otd: read as UTF-8 (its bytes are not Windows-1251 text)");
}

TEST(GridTableFile, SeparatorInACellIsWrittenAndReadsBackSplit) {
    auto grid = makeGrid(TableKind::Operators);
    setRow(*grid, 1, {"1", "a;b", "0"});
    const GridFileLayout oneLine{1, 3};
    const QByteArray bytes = write(*grid, oneLine);
    EXPECT_EQ(bytes, "1;a;b;0;\r\n");
    auto loaded = makeGrid(TableKind::Operators);
    read(bytes, *loaded, oneLine);
    EXPECT_EQ(loaded->rowCells(1, 3), (QStringList{"1", "a", "b"}));
}

TEST(GridTableFile, WritingStopsAtTheFirstFailingLine) {
    auto grid = makeGrid(TableKind::Operators);
    grid->setCell(2, 2, "Ω€");  // Ω has no Windows-1251 byte
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int lines = 0;
    EXPECT_EQ(writeGridTable(*grid, {20, 3}, buffer, [&] { ++lines; }), WriteOutcome::NotEncodable);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(bytes, ";;;\r\n");

    BytesDevice readOnly("");
    EXPECT_EQ(writeGridTable(*grid, {20, 3}, readOnly), WriteOutcome::DeviceError);
}

}  // namespace
}  // namespace tabulon::files
