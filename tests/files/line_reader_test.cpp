#include "files/line_reader.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "file_test_support.h"

namespace tabulon::files {
namespace {

using testing::BytesDevice;

// All lines of the bytes as the reader hands them out, then how it ended.
QList<QByteArray> readAll(const QByteArray& bytes, LineReader::Status* last = nullptr) {
    BytesDevice device(bytes);
    LineReader reader(device);
    QList<QByteArray> lines;
    QByteArray line;
    LineReader::Status status;
    while ((status = reader.next(line)) == LineReader::Status::Line) lines << line;
    if (last) *last = status;
    return lines;
}

TEST(LineReader, TakesCrLfAndLoneLfAsOneLineFeed) {
    LineReader::Status last;
    EXPECT_EQ(readAll("a;b;\r\nc;\nd", &last), (QList<QByteArray>{"a;b;\n", "c;\n", "d"}));
    EXPECT_EQ(last, LineReader::Status::End);
    EXPECT_EQ(readAll("\r\n\n"), (QList<QByteArray>{"\n", "\n"}));
    EXPECT_TRUE(readAll("").isEmpty());
}

TEST(LineReader, KeepsCrNotFollowedByLfAsData) {
    EXPECT_EQ(readAll("a\rb;\r\r\n\r"), (QList<QByteArray>{"a\rb;\r\n", "\r"}));
}

TEST(LineReader, CutsLongLinesAfter199BytesAndGivesTheRestAsTheNextLine) {
    const QByteArray head(199, 'x');
    const QByteArray tail = QByteArray(49, 'y') + "\n";
    EXPECT_EQ(readAll(head + tail.chopped(1) + "\r\n"), (QList<QByteArray>{head, tail}));

    // The line feed counts: 198 bytes and CR LF fit, 199 bytes leave it over.
    const QByteArray fits(198, 'z');
    EXPECT_EQ(readAll(fits + "\r\n" + "a\r\n"), (QList<QByteArray>{fits + "\n", "a\n"}));
    EXPECT_EQ(readAll(head + "\r\n"), (QList<QByteArray>{head, "\n"}));
}

// Each line handed out, as "<file line>:<bytes>", with "+" after a cut one.
QStringList linesAndCuts(const QByteArray& bytes) {
    BytesDevice device(bytes);
    LineReader reader(device);
    QStringList seen;
    QByteArray line;
    while (reader.next(line) == LineReader::Status::Line) {
        seen << QStringLiteral("%1:%2%3")
                    .arg(reader.fileLine())
                    .arg(QString::fromLatin1(line.size() > 8 ? line.left(3) + "~" : line))
                    .arg(reader.lastLineCut() ? "+" : "");
    }
    return seen;
}

TEST(LineReader, TellsWhichFileLineWasCut) {
    const QByteArray full(199, 'x');
    const struct {
        QByteArray bytes;
        QStringList seen;
    } cases[] = {
        {"a;\r\nb;\n", {"1:a;\n", "2:b;\n"}},
        {"a;\r\n" + full + "yy;\r\nc;\r\n", {"1:a;\n", "2:xxx~+", "2:yy;\n", "3:c;\n"}},
        // The rest is the line feed alone; the file ends with it.
        {full + "\r\n", {"1:xxx~+", "1:\n"}},
        // Twice the limit: cut twice, still one file line.
        {full + full + "z\n" + "d;", {"1:xxx~+", "1:xxx~+", "1:z\n", "2:d;"}},
        // Filled to the end of the file without a line feed: nothing was cut.
        {full, {"1:xxx~"}},
        {QByteArray(198, 'x') + "\r\n", {"1:xxx~"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesAndCuts(c.bytes), c.seen) << c.bytes.left(10).data();
}

TEST(LineReader, PassesEveryOtherByteThrough) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\n' && byte != '\r') all.append(char(byte));
    const QList<QByteArray> lines = readAll(all + "\r\n");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0] + lines[1], all + "\n");
    EXPECT_EQ(lines[0].size(), 199);
}

TEST(LineReader, JoinsCrLfSplitAcrossItsReadChunks) {
    // 327 lines of 200 bytes, then a line whose CR is the last byte of the
    // first 64 KiB that the reader takes in.
    const QByteArray full = QByteArray(198, 'a') + "\r\n";
    const QByteArray bytes = full.repeated(327) + QByteArray(135, 'b') + "\r\n" + "c;";
    ASSERT_EQ(bytes.at(65535), '\r');
    const QList<QByteArray> lines = readAll(bytes);
    ASSERT_EQ(lines.size(), 329);
    EXPECT_EQ(lines[327], QByteArray(135, 'b') + "\n");
    EXPECT_EQ(lines[328], "c;");
}

}  // namespace
}  // namespace tabulon::files
