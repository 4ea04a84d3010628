#include "logo/dot_row.h"

#include <gtest/gtest.h>

namespace tabulon::logo {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

QImage filled(int width, int height, QRgb color) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
}

// Row 0 of a picture painted dot by dot from the byte values given.
QImage pictureOfBytes(const DotBytes& bytes) {
    QImage picture = filled(kDotsPerRow, 1, kWhite);
    for (int x = 0; x < kDotsPerRow; ++x)
        if (bytes[x / 8] & (0x80 >> (x % 8))) picture.setPixel(x, 0, kBlack);
    return picture;
}

QByteArray repeated(const char* field, int times) {
    return QByteArray(field).repeated(times);
}

TEST(DotRow, BytesAreWrittenInPlainDecimalWithTheLeftmostDotHighest) {
    DotBytes bytes{};
    bytes[0] = 105;
    for (int k = 1; k <= 10; ++k) bytes[k] = std::uint8_t(199 + k);  // 200 to 209
    bytes[11] = 1;
    bytes[12] = 128;
    EXPECT_EQ(recordText(rowBytes(pictureOfBytes(bytes), 0)),
              "105;200;201;202;203;204;205;206;207;208;209;1;128;" + repeated("0;", 11));

    // Dot 0 is bit 7 of byte 0; dot 191 is bit 0 of byte 23.
    QImage corners = filled(kDotsPerRow, 1, kWhite);
    corners.setPixel(0, 0, kBlack);
    corners.setPixel(191, 0, kBlack);
    EXPECT_EQ(recordText(rowBytes(corners, 0)), "128;" + repeated("0;", 22) + "1;");
}

TEST(DotRow, WhiteAndBlackRows) {
    EXPECT_EQ(recordText(rowBytes(filled(192, 1, kWhite), 0)), repeated("0;", 24));
    EXPECT_EQ(recordText(rowBytes(filled(192, 1, kBlack), 0)), repeated("255;", 24));
}

TEST(DotRow, ThePicturesWidthDecidesWhichDotsAreSent) {
    // 100 dots wide: dots 96-99 are the top half of byte 12, the rest blank.
    EXPECT_EQ(recordText(rowBytes(filled(100, 1, kBlack), 0)),
              repeated("255;", 12) + "240;" + repeated("0;", 11));
    // 300 wide: dots 192 on are not sent, whatever they are.
    QImage wide = filled(300, 1, kWhite);
    for (int x = 192; x < 300; ++x) wide.setPixel(x, 0, kBlack);
    wide.setPixel(190, 0, kBlack);
    EXPECT_EQ(recordText(rowBytes(wide, 0)), repeated("0;", 23) + "2;");
    // A row below the picture is blank.
    EXPECT_EQ(recordText(rowBytes(filled(192, 1, kBlack), 1)), repeated("0;", 24));
}

TEST(DotRow, TheDotTestLooksAtTheLowestBitOfRed) {
    QImage colours = filled(192, 1, kWhite);
    colours.setPixel(0, 0, qRgb(255, 0, 0));      // red: blank
    colours.setPixel(1, 0, qRgb(0, 255, 0));      // green: a dot
    colours.setPixel(2, 0, qRgb(254, 255, 255));  // even red: a dot
    colours.setPixel(3, 0, qRgb(1, 0, 0));        // odd red: blank
    EXPECT_EQ(rowBytes(colours, 0)[0], 0x40 | 0x20);
}

TEST(DotRow, EveryRowOfThePictureMakesARecord) {
    QImage picture = filled(192, 150, kWhite);
    picture.setPixel(0, 149, kBlack);
    const QList<QByteArray> records = logoRecords(picture);
    ASSERT_EQ(records.size(), 150);
    EXPECT_EQ(records.front(), repeated("0;", 24));
    EXPECT_EQ(records.back(), "128;" + repeated("0;", 23));
    EXPECT_TRUE(logoRecords(QImage()).isEmpty());
}

TEST(ReplyValues, SkipTheTwoLeadingFieldsAndTakeAtMostTwentyFour) {
    EXPECT_EQ(replyValues("136;7;1;2;255;"), (QList<std::uint8_t>{1, 2, 255}));
    EXPECT_EQ(replyValues("136;7;" + repeated("9;", 30)), QList<std::uint8_t>(24, 9));
    // A field is closed by ";": a tail without one is no value.
    EXPECT_EQ(replyValues("136;7;3;12"), (QList<std::uint8_t>{3}));
    EXPECT_EQ(replyValues("136;7;;"), (QList<std::uint8_t>{0}));
    EXPECT_TRUE(replyValues("136;7;").isEmpty());
    EXPECT_TRUE(replyValues("136;").isEmpty());
    EXPECT_TRUE(replyValues("").isEmpty());
    // Digits are not checked: "1A" is 1 × 10 + ('A' − '0') = 27, and 256
    // keeps its low eight bits.
    EXPECT_EQ(replyValues("136;7;1A;256;"), (QList<std::uint8_t>{27, 0}));
}

QList<QRgb> rowColours(const QImage& picture, int y, int from, int to) {
    QList<QRgb> colours;
    for (int x = from; x < to; ++x) colours << (picture.pixel(x, y) | 0xFF000000);
    return colours;
}

TEST(DrawRow, IntoNoPictureMakesAWhiteLogoOfTheRegistersSize) {
    QImage picture;
    drawRow(picture, 3, {});
    EXPECT_TRUE(picture.isNull()) << "no dot drawn, no picture";

    drawRow(picture, 3, {0x81});
    ASSERT_EQ(picture.size(), QSize(192, 200));
    EXPECT_EQ(rowColours(picture, 3, 0, 9), (QList<QRgb>{kBlack, kWhite, kWhite, kWhite, kWhite,
                                                         kWhite, kWhite, kBlack, kWhite}));
    EXPECT_EQ(rowColours(picture, 2, 0, 192), QList<QRgb>(192, kWhite));
    EXPECT_EQ(rowBytes(picture, 3)[0], 0x81);
}

TEST(DrawRow, IntoALargerPictureKeepsItsSizeAndTheRest) {
    const QRgb red = qRgb(255, 0, 0);
    QImage picture = filled(300, 250, red);
    drawRow(picture, 0, QList<std::uint8_t>(24, 0xFF));
    drawRow(picture, 249, QList<std::uint8_t>(24, 0xFF));
    ASSERT_EQ(picture.size(), QSize(300, 250));
    EXPECT_EQ(rowColours(picture, 0, 0, 192), QList<QRgb>(192, kBlack));
    EXPECT_EQ(rowColours(picture, 0, 192, 300), QList<QRgb>(108, red));
    EXPECT_EQ(rowColours(picture, 1, 0, 300), QList<QRgb>(300, red));
    EXPECT_EQ(rowColours(picture, 249, 0, 2), QList<QRgb>(2, kBlack));

    // A narrower one loses the dots beyond its width.
    QImage narrow = filled(10, 5, red);
    drawRow(narrow, 1, {0x00, 0xFF, 0xFF});
    EXPECT_EQ(narrow.size(), QSize(10, 5));
    EXPECT_EQ(rowColours(narrow, 1, 6, 10), (QList<QRgb>{kWhite, kWhite, kBlack, kBlack}));
    // A row below the picture draws nothing.
    drawRow(narrow, 5, {0xFF});
    EXPECT_EQ(narrow.size(), QSize(10, 5));
}

TEST(DrawRow, AShortReplyFillsOnlyTheFirstDots) {
    QImage picture = filled(192, 200, kBlack);
    drawRow(picture, 4, {0x00, 0x01});
    EXPECT_EQ(recordText(rowBytes(picture, 4)), "0;1;" + repeated("255;", 22));
}

TEST(DrawRow, PalettedPicturesKeepTheirDepthWhereThePaletteAllows) {
    // Black and white in the palette already.
    QImage mono(192, 2, QImage::Format_Mono);
    mono.setColorTable({kBlack, kWhite});
    mono.fill(1);
    drawRow(mono, 0, {0xF0});
    EXPECT_EQ(mono.format(), QImage::Format_Mono);
    EXPECT_EQ(rowBytes(mono, 0)[0], 0xF0);

    // Room for them: they are added.
    QImage grey(192, 2, QImage::Format_Indexed8);
    grey.setColorTable({qRgb(128, 128, 128)});
    grey.fill(0);
    drawRow(grey, 0, {0x0F});
    EXPECT_EQ(grey.format(), QImage::Format_Indexed8);
    EXPECT_EQ(rowColours(grey, 0, 3, 5), (QList<QRgb>{kWhite, kBlack}));
    EXPECT_EQ(grey.pixel(0, 1), qRgb(128, 128, 128));

    // A two-colour palette of other colours has no room: true colour.
    QImage blue(192, 2, QImage::Format_Mono);
    blue.setColorTable({qRgb(0, 0, 255), qRgb(255, 255, 0)});
    blue.fill(1);
    drawRow(blue, 0, {0x80});
    EXPECT_EQ(blue.depth(), 32);
    EXPECT_EQ(rowColours(blue, 0, 0, 2), (QList<QRgb>{kBlack, kWhite}));
    EXPECT_EQ(blue.pixel(0, 1), qRgb(255, 255, 0));
}

}  // namespace
}  // namespace tabulon::logo
