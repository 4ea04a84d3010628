#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <optional>

namespace tabulon::logo {

// What a BMP file's headers say about its pixels, read the way the picture
// reader reads them. The logo is taken from a file only when this agrees
// with what the file holds, so that no pixel is left for the reader to skip.
struct BmpLayout {
    int infoSize = 0;                // 12, 40, 52, 56, 64, 108 or 124
    int width = 0;                   // > 0
    int height = 0;                  // rows bottom-up when positive, top-down when negative
    int depth = 0;                   // bits per pixel: 1, 4, 8, 16, 24 or 32
    int compression = 0;             // kRgb, kRle8, kRle4 or kBitFields
    qint64 pixelsAt = 0;             // where the pixel data begins, past every header
    qint64 rowStride = 0;            // bytes of one uncompressed row
    std::array<quint32, 4> masks{};  // red, green, blue, alpha of 16- and 32-bit pixels

    static constexpr int kRgb = 0;
    static constexpr int kRle8 = 1;
    static constexpr int kRle4 = 2;
    static constexpr int kBitFields = 3;

    int rows() const { return height < 0 ? -height : height; }
    // Pixels whose colour channels are bit fields of the pixel value (all
    // 16-bit ones; 32-bit ones with masks) rather than whole bytes.
    bool bitFieldColours() const {
        return depth == 16 || (depth == 32 && compression == kBitFields);
    }
};

// The file's layout, or nothing when the file is no BMP, has an info header
// of a size BMP does not define, points its pixels into its own headers or
// past its end, or lacks rows of uncompressed pixels it declares.
std::optional<BmpLayout> readBmpLayout(const QByteArray& file);

// The file as the picture reader can read it. Its reader takes an info header
// of 52 or 56 bytes (the colour masks, with or without alpha, after the 40
// of the common header) for the 12-byte OS/2 one; the same file with the
// header padded to 108 bytes means the same and reads as it should.
QByteArray readableBmp(const QByteArray& file, const BmpLayout& layout);

}  // namespace tabulon::logo
