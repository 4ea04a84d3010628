#include "logo/bmp_layout.h"

#include <bit>
#include <climits>
#include <cstdint>

namespace tabulon::logo {

namespace {

constexpr qint64 kFileHeader = 14;
constexpr int kV4Header = 108;

quint32 littleEndian(const QByteArray& bytes, qint64 at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

void putLittleEndian(QByteArray& bytes, qint64 at, quint32 value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

// The info header sizes BMP defines: OS/2 1.x, Windows 3 and its versions 2
// and 3 (masks added), OS/2 2.x, Windows 4 and 5.
bool definedInfoSize(quint32 size) {
    switch (size) {
        case 12:
        case 40:
        case 52:
        case 56:
        case 64:
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

// The pixel depths and compressions the reader takes together.
bool readableCoding(int depth, quint32 compression) {
    switch (depth) {
        case 1:
        case 24:
            return compression == BmpLayout::kRgb;
        case 4:
            return compression == BmpLayout::kRgb || compression == BmpLayout::kRle4;
        case 8:
            return compression == BmpLayout::kRgb || compression == BmpLayout::kRle8;
        case 16:
        case 32:
            return compression == BmpLayout::kRgb || compression == BmpLayout::kBitFields;
        default:
            return false;
    }
}

// Bit-field masks that name colours: each one an unbroken run of bits (or
// none) inside the pixel, no two sharing a bit, some colour among them. Any
// other masks give no colours to trust: a pixel of all ones, white in any
// sound masks, would come out as a printed dot.
bool soundMasks(const std::array<quint32, 4>& masks, int depth) {
    const quint64 pixel = (quint64(1) << depth) - 1;
    quint64 seen = 0;
    for (quint32 mask : masks) {
        const quint32 run = mask ? mask >> std::countr_zero(mask) : 0;
        if ((run & (run + 1)) != 0 || (mask & ~pixel) != 0 || (seen & mask) != 0) return false;
        seen |= mask;
    }
    return (masks[0] | masks[1] | masks[2]) != 0;
}

}  // namespace

std::optional<BmpLayout> readBmpLayout(const QByteArray& file) {
    if (file.size() < kFileHeader + 4 || !file.startsWith("BM")) return std::nullopt;
    const quint32 infoSize = littleEndian(file, 14, 4);
    if (!definedInfoSize(infoSize)) return std::nullopt;
    qint64 headersEnd = kFileHeader + infoSize;
    if (file.size() < headersEnd) return std::nullopt;

    BmpLayout layout;
    layout.infoSize = int(infoSize);
    int planes = 0;
    quint32 compression = BmpLayout::kRgb;
    quint32 colours = 0;
    int paletteEntry = 4;
    if (infoSize == 12) {
        // OS/2 1.x: sizes of 16 bits, which the reader takes as signed;
        // palette entries of three bytes; never compressed.
        layout.width = qint16(littleEndian(file, 18, 2));
        layout.height = qint16(littleEndian(file, 20, 2));
        planes = int(littleEndian(file, 22, 2));
        layout.depth = int(littleEndian(file, 24, 2));
        paletteEntry = 3;
    } else {
        layout.width = qint32(littleEndian(file, 18, 4));
        layout.height = qint32(littleEndian(file, 22, 4));
        planes = int(littleEndian(file, 26, 2));
        layout.depth = int(littleEndian(file, 28, 2));
        compression = littleEndian(file, 30, 4);
        colours = littleEndian(file, 46, 4);
    }
    if (planes != 1 || layout.width <= 0 || layout.height == 0 || layout.height == INT_MIN ||
        !readableCoding(layout.depth, compression))
        return std::nullopt;
    layout.compression = int(compression);

    if (layout.compression == BmpLayout::kBitFields) {
        // Windows versions 2 and later hold the masks in the info header;
        // after a header of 40 or 64 bytes they follow it.
        const bool masksInHeader = infoSize != 40 && infoSize != 64;
        qint64 masksAt = kFileHeader + 40;
        if (!masksInHeader) {
            masksAt = headersEnd;
            headersEnd += 12;
            if (file.size() < headersEnd) return std::nullopt;
        }
        for (int i = 0; i < 3; ++i) layout.masks[i] = littleEndian(file, masksAt + 4 * i, 4);
        if (masksInHeader && infoSize != 52) layout.masks[3] = littleEndian(file, masksAt + 12, 4);
        if (!soundMasks(layout.masks, layout.depth)) return std::nullopt;
    } else if (layout.depth == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F, 0};  // five bits each
    }

    if (layout.depth <= 8) {
        const quint32 entries = colours ? colours : 1u << layout.depth;
        if (entries > 256) return std::nullopt;
        headersEnd += qint64(entries) * paletteEntry;
    }

    // The reader takes pixels from where the file says only when that lies
    // past what it has read; before it, it goes on from where it is, so the
    // pixels would not be those the file places there.
    layout.pixelsAt = littleEndian(file, 10, 4);
    if (layout.pixelsAt < headersEnd || layout.pixelsAt >= file.size()) return std::nullopt;

    // A header may declare 2^31 rows of 2^31 pixels: the bytes they need do
    // not fit in 64 bits, so the rows that fit are counted instead.
    layout.rowStride = (qint64(layout.width) * layout.depth + 31) / 32 * 4;
    const bool uncompressed =
        layout.compression == BmpLayout::kRgb || layout.compression == BmpLayout::kBitFields;
    if (uncompressed && layout.rows() > (file.size() - layout.pixelsAt) / layout.rowStride)
        return std::nullopt;
    return layout;
}

QByteArray readableBmp(const QByteArray& file, const BmpLayout& layout) {
    if (layout.infoSize != 52 && layout.infoSize != 56) return file;
    const int padding = kV4Header - layout.infoSize;
    const qint64 headerEnd = kFileHeader + layout.infoSize;
    QByteArray readable = file.left(headerEnd) + QByteArray(padding, '\0') + file.mid(headerEnd);
    putLittleEndian(readable, 2, littleEndian(file, 2, 4) + quint32(padding));
    putLittleEndian(readable, 10, quint32(layout.pixelsAt) + quint32(padding));
    putLittleEndian(readable, 14, kV4Header);
    return readable;
}

}  // namespace tabulon::logo
