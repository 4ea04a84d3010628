#pragma once

#include <QByteArray>
#include <QImage>
#include <QtGlobal>

#include "logo/bmp_layout.h"

namespace tabulon::logo {

// A colour channel of `bits` bits widened to eight by repeating its bits
// (31 of 5 bits is 255, 16 is 132), so that the full value is white; a wider
// one keeps its top eight bits.
quint32 widenChannel(quint32 value, int bits);

// Sets every pixel of a picture read from a BMP file whose colours are bit
// fields (16-bit pixels, 32-bit ones with masks) from the file's own pixel
// values, each channel widened. Qt's reader shifts a narrow channel up
// without filling the low bits (white 31 comes out as 248, an even red that
// prints) and drops one wider than eight bits. False when the picture is not
// one of true colour of the file's size.
bool redrawBitFieldColours(QImage& picture, const QByteArray& file, const BmpLayout& layout);

}  // namespace tabulon::logo
