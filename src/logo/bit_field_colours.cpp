#include "logo/bit_field_colours.h"

#include <bit>
#include <cstdint>

namespace tabulon::logo {

namespace {

struct Channel {
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(quint32 m)
        : mask(m), shift(m ? std::countr_zero(m) : 0), bits(int(std::bit_width(m >> shift))) {}

    quint32 of(quint32 pixel) const { return widenChannel((pixel & mask) >> shift, bits); }
};

}  // namespace

quint32 widenChannel(quint32 value, int bits) {
    if (bits <= 0) return 0;
    if (bits >= 8) return (value >> (bits - 8)) & 0xFF;
    quint32 wide = 0;
    for (int shift = 8 - bits; shift > -bits; shift -= bits)
        wide |= shift >= 0 ? value << shift : value >> -shift;
    return wide & 0xFF;
}

bool redrawBitFieldColours(QImage& picture, const QByteArray& file, const BmpLayout& layout) {
    const bool alpha = picture.format() == QImage::Format_ARGB32;
    if ((!alpha && picture.format() != QImage::Format_RGB32) || picture.width() != layout.width ||
        picture.height() != layout.rows())
        return false;
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]),
        opacity(layout.masks[3]);
    const int bytes = layout.depth / 8;
    for (int row = 0; row < layout.rows(); ++row) {
        // Rows run bottom-up unless the height is negative.
        const int y = layout.height > 0 ? layout.rows() - 1 - row : row;
        const char* at = file.constData() + layout.pixelsAt + qint64(row) * layout.rowStride;
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < layout.width; ++x, at += bytes) {
            quint32 pixel = 0;
            for (int i = bytes - 1; i >= 0; --i) pixel = (pixel << 8) | std::uint8_t(at[i]);
            const quint32 a = alpha && opacity.mask ? opacity.of(pixel) : 0xFF;
            line[x] = qRgba(int(red.of(pixel)), int(green.of(pixel)), int(blue.of(pixel)), int(a));
        }
    }
    return true;
}

}  // namespace tabulon::logo
