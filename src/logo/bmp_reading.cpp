#include "logo/bmp_reading.h"

#include <QBuffer>
#include <QImageReader>
#include <QList>
#include <array>
#include <cstring>
#include <optional>
#include <utility>

namespace tabulon::logo {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

bool read(const QByteArray& file, QImage& picture) {
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // Without this a PNG named logo.bmp would load as well.
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    return reader.read(&picture);
}

// Reads the file over a picture made for it. The reader keeps the memory of
// a picture of the size and format the file needs; true only when it read
// the file and kept that memory, so that every pixel it did not set still
// holds the fill.
bool readOver(const QByteArray& file, QImage& picture) {
    const qint64 memory = picture.cacheKey() >> 32;
    const QSize size = picture.size();
    const QImage::Format format = picture.format();
    return read(file, picture) && picture.size() == size && picture.format() == format &&
           (picture.cacheKey() >> 32) == memory;
}

// The file with bytes after it for the reader to run on into instead of its
// end: a run-length code cut short by the end of the file would take the
// rest of its pixels, or its move, from whatever the reader's own variables
// held. `filler` completes such a code (its pixels then differ between the
// two reads, 0 or 255 as the fills); the closing bytes end the codes on
// either byte alignment: 00 01 ends the picture, and read from one byte on
// the same bytes are runs of one pixel that end where the bytes do.
QByteArray padded(const QByteArray& file, char filler) {
    constexpr int kLongestCode = 258;  // an absolute run of 255 pixels, and its padding
    return file + QByteArray(2 * kLongestCode, filler) + QByteArray("\0\1\0\1\0", 5);
}

// Two different fills for the pixels of a picture the reader makes.
std::optional<std::pair<uint, uint>> fills(QImage::Format format) {
    switch (format) {
        case QImage::Format_Mono:
            return std::pair<uint, uint>{0, 1};
        case QImage::Format_Indexed8:
            return std::pair<uint, uint>{0, 255};
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
            return std::pair<uint, uint>{kBlack, kWhite};
        default:
            return std::nullopt;
    }
}

// QImage::fill leaves the ends of rows of 1 and 8 bits past the last pixel
// as they were; the BMP writer writes those bytes too, so they are cleared.
QImage filled(QSize size, QImage::Format format, uint value) {
    QImage picture(size, format);
    if (picture.isNull()) return picture;
    if (picture.depth() > 8) {
        picture.fill(value);
    } else {
        const int bits = picture.depth() == 1 ? (value & 1 ? 0xFF : 0) : int(value & 0xFF);
        std::memset(picture.bits(), bits, size_t(picture.sizeInBytes()));
    }
    return picture;
}

// A pixel's raw value in its row: a palette index, or the 32-bit colour. The
// pictures can be large (a few bytes of run-length code declare millions of
// pixels), so they are walked along their rows rather than through
// QImage::pixel.
uint rawPixel(const uchar* line, int depth, int x) {
    switch (depth) {
        case 1:
            return (line[x >> 3] >> (7 - (x & 7))) & 1u;
        case 8:
            return line[x];
        default:
            return reinterpret_cast<const QRgb*>(line)[x];
    }
}

void setRawPixel(uchar* line, int depth, int x, uint value) {
    switch (depth) {
        case 1: {
            const uchar bit = uchar(0x80 >> (x & 7));
            line[x >> 3] = value ? uchar(line[x >> 3] | bit) : uchar(line[x >> 3] & ~bit);
            break;
        }
        case 8:
            line[x] = uchar(value);
            break;
        default:
            reinterpret_cast<QRgb*>(line)[x] = value;
    }
}

// Sets `value` in `target` wherever `read` and `other` differ along row y.
void whitenRow(QImage& target, const QImage& read, const QImage& other, int y, uint value) {
    const uchar* a = read.constScanLine(y);
    const uchar* b = other.constScanLine(y);
    uchar* line = target.scanLine(y);
    for (int x = 0; x < read.width(); ++x)
        if (rawPixel(a, read.depth(), x) != rawPixel(b, read.depth(), x))
            setRawPixel(line, target.depth(), x, value);
}

// A palette with fewer colours than the pixels' indices reach gets opaque
// black for the missing ones. A pixel without a colour counted as a dot, yet
// came back as another colour once the picture was saved and loaded again.
void fillPalette(QImage& picture) {
    const int colours = picture.colorCount();
    if (colours == 0 || picture.depth() > 8) return;
    const int full = 1 << picture.depth();
    if (colours >= full) return;
    picture.setColorCount(full);
    for (int i = colours; i < full; ++i) picture.setColor(i, kBlack);
}

// The palette index of white for the unread pixels: white in the palette, or
// white added at the first index past it that no read pixel uses (those
// print black). -1 when every index is taken.
int whiteIndex(QImage& picture, const std::array<bool, 256>& taken) {
    const QList<QRgb> table = picture.colorTable();
    for (qsizetype i = 0; i < table.size(); ++i)
        if ((table[i] | kBlack) == kWhite) return int(i);
    const int full = 1 << picture.depth();
    for (int i = int(table.size()); i < full; ++i) {
        if (taken[i]) continue;
        picture.setColorCount(i + 1);
        for (int j = int(table.size()); j < i; ++j) picture.setColor(j, kBlack);
        picture.setColor(i, kWhite);
        return i;
    }
    return -1;
}

// Makes white every pixel of `picture` that differs from `other`, the same
// file read over another fill.
void whitenUnread(QImage& picture, const QImage& other) {
    const qsizetype rowBytes = (qsizetype(picture.width()) * picture.depth() + 7) / 8;
    QList<int> rows;
    for (int y = 0; y < picture.height(); ++y)
        if (std::memcmp(picture.constScanLine(y), other.constScanLine(y), size_t(rowBytes)) != 0)
            rows << y;
    if (rows.isEmpty()) return;

    uint white = kWhite;
    if (picture.depth() <= 8) {
        std::array<bool, 256> taken{};
        for (int y = 0; y < picture.height(); ++y) {
            const uchar* a = picture.constScanLine(y);
            const uchar* b = other.constScanLine(y);
            for (int x = 0; x < picture.width(); ++x) {
                const uint index = rawPixel(a, picture.depth(), x);
                if (index == rawPixel(b, picture.depth(), x)) taken[index] = true;
            }
        }
        const int index = whiteIndex(picture, taken);
        if (index < 0) {
            // Every index prints a colour of its own: the picture takes true
            // colour rather than show the unread pixels as one of them.
            fillPalette(picture);
            const QImage indexed = picture;
            picture = indexed.convertToFormat(QImage::Format_RGB32);
            for (int y : std::as_const(rows)) whitenRow(picture, indexed, other, y, kWhite);
            return;
        }
        white = uint(index);
    }
    for (int y : std::as_const(rows)) whitenRow(picture, picture, other, y, white);
}

}  // namespace

QImage readBmpPixels(const QByteArray& file) {
    const QByteArray low = padded(file, '\0');
    const QByteArray high = padded(file, '\xFF');
    QImage first;
    if (!read(low, first)) return QImage();
    const QSize size = first.size();
    const QImage::Format format = first.format();
    // What the first read left in the pixels it did not set is not looked at.
    first = QImage();
    const std::optional<std::pair<uint, uint>> values = fills(format);
    if (!values) return QImage();

    QImage picture = filled(size, format, values->first);
    QImage other = filled(size, format, values->second);
    if (picture.isNull() || other.isNull() || !readOver(low, picture) || !readOver(high, other))
        return QImage();
    whitenUnread(picture, other);
    fillPalette(picture);
    return picture;
}

}  // namespace tabulon::logo
