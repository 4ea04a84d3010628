#include "link/frame.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "wire.h"

using namespace tabulon::link;

namespace {

// Plain polynomial division, bit by bit: x^16 + x^15 + 1, most significant bit
// first, register from zero, no reflection, no final inversion.
quint16 referenceCrc(const QByteArray& bytes) {
    quint16 crc = 0;
    for (char c : bytes) {
        crc ^= quint16(quint8(c)) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x8001) : quint16(crc << 1);
    }
    return crc;
}

}  // namespace

TEST(Frame, KnownFrames) {
    EXPECT_WIRE(BuildFrame("R2;1;"), wire("0A 52 32 3B 31 3B 0D 98 78"));
    EXPECT_WIRE(BuildFrame(""), wire("0A 0D 80 09"));
    EXPECT_EQ(frameCheck("abc"), 0xBC3C);
}

TEST(Frame, LineBytesInsideTheTextAreFramedUnchanged) {
    const QByteArray text(
        "a\x0A"
        "b\x0D"
        "c\xFF",
        6);
    const QByteArray frame = BuildFrame(text);
    ASSERT_EQ(frame.size(), text.size() + 4);
    EXPECT_EQ(frame.front(), '\x0A');
    EXPECT_EQ(frame.mid(1, text.size()), text);
    EXPECT_EQ(frame.at(text.size() + 1), '\x0D');
}

TEST(Frame, IntactLineLeavesZeroAndAnyDamagedByteDoesNot) {
    const QByteArray line = wire("52 32 3B 31 3B 0D 98 78");
    FrameChecksum sum;
    sum.add(line);
    EXPECT_TRUE(sum.isZero());

    for (qsizetype i = 0; i < line.size(); ++i) {
        for (int flip = 1; flip < 256; ++flip) {
            QByteArray damaged = line;
            damaged[i] = char(damaged[i] ^ flip);
            sum.reset();
            sum.add(damaged);
            ASSERT_FALSE(sum.isZero()) << "byte " << i << " xor " << flip;
        }
    }
}

TEST(Frame, CheckMatchesPolynomialDivisionOverRandomTexts) {
    QRandomGenerator random(1251);
    for (int round = 0; round < 2000; ++round) {
        QByteArray text(random.bounded(0, 200), '\0');
        for (char& c : text) c = char(random.bounded(256));
        const QByteArray frame = BuildFrame(text);
        const quint16 expected = referenceCrc(text + '\x0D');
        ASSERT_EQ(quint8(frame.at(frame.size() - 2)), expected >> 8);
        ASSERT_EQ(quint8(frame.back()), expected & 0xFF);

        FrameChecksum sum;
        sum.add(frame.sliced(1));
        ASSERT_TRUE(sum.isZero());
    }
}
