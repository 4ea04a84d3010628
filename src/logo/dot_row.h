#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <array>
#include <cstdint>

namespace tabulon::logo {

// The register keeps its receipt logo as table 136: one record per dot line,
// 200 lines of 192 dots, each line 24 bytes with the leftmost dot in bit 7.
inline constexpr int kLogoTable = 136;
inline constexpr int kLogoRows = 200;
inline constexpr int kDotsPerRow = 192;
inline constexpr int kBytesPerRow = kDotsPerRow / 8;

using DotBytes = std::array<std::uint8_t, kBytesPerRow>;

// A pixel is a printed dot when the lowest bit of its red component is 0:
// black prints, white does not, and in a colour picture an even red prints.
bool isDot(QRgb color);

// The dots of picture row y, by the dot test; points beyond the picture's
// width or height are blank, dots past the 192nd are not looked at.
DotBytes rowBytes(const QImage& picture, int y);

// "0;" … "255;" for each byte, plain decimal, nothing else.
QByteArray recordText(const DotBytes& bytes);

// The record texts of every row of the picture, record 1 first. A null
// picture has none.
QList<QByteArray> logoRecords(const QImage& picture);

// The byte values a register's reply carries after its two leading fields:
// at most 24, each taken from a field closed by ";". Digits are read as the
// register sends them, without checking; only the low eight bits matter.
QList<std::uint8_t> replyValues(QByteArrayView reply);

// A register's logo in a picture of its own: 192 × 200, one bit a dot, white.
QImage blankLogo();

// Draws the values into row y: value n covers the dots 8n to 8n + 7, a set
// bit black, a clear one white. Dots beyond the picture are lost, the rest of
// the row keeps its colour. A null picture becomes a white 192 × 200 one at
// the first dot drawn; any other keeps its size, depth and other pixels as
// far as its palette allows black and white.
void drawRow(QImage& picture, int y, const QList<std::uint8_t>& values);

}  // namespace tabulon::logo
