// BMP files of every coding the logo loader meets, built byte by byte: each
// either gives exactly the dots its pixels mean, whatever the memory held
// before, or is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <initializer_list>
#include <optional>

#include "logo/dot_row.h"
#include "logo/logo_file.h"

namespace tabulon::logo {
namespace {

QByteArray le(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int value : values) out += char(value);
    return out;
}

QByteArray words(int size, std::initializer_list<quint32> values) {
    QByteArray out;
    for (quint32 value : values) out += le(value, size);
    return out;
}

// Palette entries of four bytes (blue, green, red, 0), or three for OS/2.
QByteArray palette(std::initializer_list<QRgb> colours, int entry = 4) {
    QByteArray out;
    for (QRgb colour : colours)
        out += bytes({qBlue(colour), qGreen(colour), qRed(colour), 0}).left(entry);
    return out;
}

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// 256 colours, none of them white: grey i, and 254 for the last.
QByteArray greys() {
    QByteArray out;
    for (int i = 0; i < 256; ++i) out += palette({qRgb(qMin(i, 254), qMin(i, 254), qMin(i, 254))});
    return out;
}

// One BMP file: the file header, an info header of `infoSize` bytes (the OS/2
// layout for 12, else the Windows one with `inHeader` from its byte 40 on),
// `extra` (masks, palette), then the pixels. The file header places the
// pixels right after `extra` unless `offset` says otherwise.
class Bmp {
public:
    Bmp& infoSize(quint32 value) { return set(infoSize_, value); }
    Bmp& width(qint32 value) { return set(width_, value); }
    Bmp& height(qint32 value) { return set(height_, value); }
    Bmp& depth(quint16 value) { return set(depth_, value); }
    Bmp& compression(quint32 value) { return set(compression_, value); }
    Bmp& colours(quint32 value) { return set(colours_, value); }
    Bmp& inHeader(const QByteArray& value) { return set(inHeader_, value); }
    Bmp& extra(const QByteArray& value) { return set(extra_, value); }
    Bmp& pixels(const QByteArray& value) { return set(pixels_, value); }
    Bmp& offset(quint32 value) { return set(offset_, std::optional<quint32>(value)); }

    QByteArray file() const {
        QByteArray info;
        if (infoSize_ == 12) {
            info = le(12, 4) + le(quint32(width_), 2) + le(quint32(height_), 2) + le(1, 2) +
                   le(depth_, 2);
        } else {
            info = le(infoSize_, 4) + le(quint32(width_), 4) + le(quint32(height_), 4) + le(1, 2) +
                   le(depth_, 2) + le(compression_, 4) + le(quint32(pixels_.size()), 4) +
                   le(2835, 4) + le(2835, 4) + le(colours_, 4) + le(0, 4) + inHeader_;
            info += QByteArray(qMax<qsizetype>(0, qsizetype(infoSize_) - info.size()), '\0');
        }
        const quint32 at = quint32(14 + info.size() + extra_.size());
        return "BM" + le(at + quint32(pixels_.size()), 4) + le(0, 4) + le(offset_.value_or(at), 4) +
               info + extra_ + pixels_;
    }

private:
    template <typename T>
    Bmp& set(T& field, const T& value) {
        field = value;
        return *this;
    }

    quint32 infoSize_ = 40;
    qint32 width_ = 8;
    qint32 height_ = 1;
    quint16 depth_ = 24;
    quint32 compression_ = 0;
    quint32 colours_ = 0;
    QByteArray inHeader_;
    QByteArray extra_;
    QByteArray pixels_;
    std::optional<quint32> offset_;
};

// A row of eight 24-bit pixels, white where `dots` has no bit.
QByteArray row24(int dots) {
    QByteArray out;
    for (int x = 0; x < 8; ++x)
        out += (dots & (0x80 >> x)) ? QByteArray(3, '\0') : QByteArray(3, '\xFF');
    return out;
}

// The records of a picture eight dots wide: each row's first byte, then 23
// blank ones.
QList<QByteArray> firstBytes(std::initializer_list<int> values) {
    QList<QByteArray> records;
    for (int value : values)
        records << QByteArray::number(value) + ';' + QByteArray("0;").repeated(23);
    return records;
}

struct Variant {
    const char* name;
    QByteArray file;
    QList<QByteArray> records;  // none: refused
    int depth = 0;              // of the picture loaded
};

TEST(BmpVariants, LoadAsTheDotsTheirPixelsMeanOrAreRefused) {
    const QByteArray blackWhite = palette({kBlack, kWhite});
    const QByteArray masks565 = words(4, {0xF800, 0x07E0, 0x001F});
    const QByteArray pixels565 =
        words(2, {0xFFFF, 0x0000, 0xF800, 0x07FF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF});
    const Variant variants[] = {
        // Run-length codes that skip pixels: a delta, the end of a line, the
        // end of the picture. Index 0 is black, so a skipped pixel left as
        // zeroed memory would print.
        {"RLE8, a delta",
         Bmp()
             .width(8)
             .height(2)
             .depth(8)
             .compression(1)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({1, 0, 1, 1, 0, 2, 3, 1, 3, 0, 0, 1}))
             .file(),
         firstBytes({7, 128}), 8},
        {"RLE8, a line ended early",
         Bmp()
             .width(8)
             .height(2)
             .depth(8)
             .compression(1)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({2, 0, 0, 0, 8, 1, 0, 1}))
             .file(),
         firstBytes({0, 192}), 8},
        {"RLE8, the picture ended early",
         Bmp()
             .width(8)
             .height(2)
             .depth(8)
             .compression(1)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({1, 0, 0, 1}))
             .file(),
         firstBytes({0, 128}), 8},
        {"RLE4, the picture ended early",
         Bmp()
             .depth(4)
             .compression(2)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({4, 0x01, 0, 1}))
             .file(),
         firstBytes({160}), 8},
        // Codes cut short by the end of the file: the reader would take the
        // rest from its own uninitialised variables.
        {"RLE8, a run without its colour",
         Bmp().depth(8).compression(1).colours(2).extra(blackWhite).pixels(bytes({1, 0, 3})).file(),
         firstBytes({128}), 8},
        {"RLE8, a delta without its steps",
         Bmp()
             .depth(8)
             .compression(1)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({1, 0, 0, 2}))
             .file(),
         firstBytes({128}), 8},
        {"RLE4, an odd absolute run without its last byte",
         Bmp()
             .depth(4)
             .compression(2)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({0, 3, 0x01}))
             .file(),
         firstBytes({128}), 8},
        // Cut inside a code after whole ones: what the reader would read
        // past the end must not draw over the pixels already set.
        {"RLE8, cut inside a delta after a run",
         Bmp()
             .height(2)
             .depth(8)
             .compression(1)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({2, 0, 0, 2}))
             .file(),
         firstBytes({0, 192}), 8},
        {"RLE8, cut inside an absolute run of the next line",
         Bmp()
             .height(2)
             .depth(8)
             .compression(1)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({2, 0, 0, 2, 1, 0, 0, 0, 0, 3, 1, 0}))
             .file(),
         firstBytes({64, 192}), 8},
        {"RLE4, cut inside a delta after a run",
         Bmp()
             .height(2)
             .depth(4)
             .compression(2)
             .colours(2)
             .extra(blackWhite)
             .pixels(bytes({2, 0x01, 0, 2}))
             .file(),
         firstBytes({0, 128}), 8},
        // White joins the palette at an index no pixel uses: 1 and 2 lie
        // past the palette and print.
        {"RLE8, no white in the palette",
         Bmp()
             .depth(8)
             .compression(1)
             .colours(1)
             .extra(palette({kBlack}))
             .pixels(bytes({1, 0, 1, 1, 1, 2, 0, 1}))
             .file(),
         firstBytes({224}), 8},
        // No index left for white: the picture takes true colour.
        {"RLE8, 256 colours and none white",
         Bmp()
             .depth(8)
             .compression(1)
             .colours(256)
             .extra(greys())
             .pixels(bytes({1, 255, 1, 1, 0, 1}))
             .file(),
         firstBytes({128}), 32},

        // Pixels said to lie inside the headers: the reader would take them
        // from after its palette instead, and run short.
        {"pixels at 0", Bmp().pixels(row24(0x55)).offset(0).file(), {}, 0},
        {"pixels inside the palette",
         Bmp().depth(8).colours(2).extra(blackWhite).pixels(QByteArray(8, '\1')).offset(54).file(),
         {},
         0},
        {"pixels past the end", Bmp().pixels(row24(0x55)).offset(1000).file(), {}, 0},

        // Info headers: only the sizes BMP defines, each read as it lays out.
        {"an info header of 1 byte, rows missing",
         "BM" + le(58, 4) + le(0, 4) + le(34, 4) + le(1, 4) + le(8, 2) + le(2, 2) + le(1, 2) +
             le(24, 2) + le(5, 4) + row24(0x55),
         {},
         0},
        {"29 bytes of OS/2 file, its row cut short",
         "BM" + le(29, 4) + le(0, 4) + le(26, 4) + le(12, 4) + le(1, 2) + le(1, 2) + le(1, 2) +
             le(24, 2) + QByteArray(3, '\xFF'),
         {},
         0},
        {"OS/2 1.x, 1 bit",
         Bmp()
             .infoSize(12)
             .depth(1)
             .extra(palette({kBlack, kWhite}, 3))
             .pixels(bytes({0x0F, 0, 0, 0}))
             .file(),
         firstBytes({240}), 1},
        {"OS/2 2.x, 24 bits", Bmp().infoSize(64).pixels(row24(0x50)).file(), firstBytes({80}), 32},
        {"Windows version 2 header, 565",
         Bmp().infoSize(52).depth(16).compression(3).inHeader(masks565).pixels(pixels565).file(),
         firstBytes({80}), 32},
        {"Windows version 3 header, 32 bits with alpha",
         Bmp()
             .infoSize(56)
             .depth(32)
             .compression(3)
             .inHeader(words(4, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}))
             .pixels(words(4, {0xFFFFFFFF, 0xFF000000, 0x00FFFFFF, 0xFFFE0000, 0xFFFFFFFF,
                               0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}))
             .file(),
         firstBytes({80}), 32},
        {"Windows version 5 header, 565",
         Bmp()
             .infoSize(124)
             .depth(16)
             .compression(3)
             .inHeader(masks565 + le(0, 4))
             .pixels(pixels565)
             .file(),
         firstBytes({80}), 32},

        // Channels of other widths than eight bits: 31 of 5 bits is 255, not
        // 248; 4 is 33 (blank), 3 is 24 (a dot).
        {"16 bits, 555",
         Bmp()
             .depth(16)
             .pixels(words(2, {0x7FFF, (4 << 10) | 0x3FF, (3 << 10) | 0x3FF, 0, 0x7FFF, 0x7FFF,
                               0x7FFF, 0x7FFF}))
             .file(),
         firstBytes({48}), 32},
        {"16 bits, 565 masks after the header",
         Bmp()
             .depth(16)
             .compression(3)
             .extra(masks565)
             .pixels(words(2, {0xFFFF, (4 << 11) | 0x7FF, (3 << 11) | 0x7FF, 0, 0xFFFF, 0xFFFF,
                               0xFFFF, 0xFFFF}))
             .file(),
         firstBytes({48}), 32},
        {"16 bits, 4444 with alpha",
         Bmp()
             .infoSize(108)
             .depth(16)
             .compression(3)
             .inHeader(words(4, {0x0F00, 0x00F0, 0x000F, 0xF000}))
             .pixels(words(2, {0xFFFF, 0x0FFF, 0xF2FF, 0xF1FF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}))
             .file(),
         firstBytes({32}), 32},
        // Masks that give no trustworthy colours: all-ones pixels, white in
        // any sound masks, would print.
        {"16 bits, a mask with a gap",
         Bmp()
             .depth(16)
             .compression(3)
             .extra(words(4, {0x8001, 0x7C00, 0x03E0}))
             .pixels(QByteArray(16, '\xFF'))
             .file(),
         {},
         0},
        {"16 bits, masks sharing bits",
         Bmp()
             .depth(16)
             .compression(3)
             .extra(words(4, {0x0F0F, 0x00FF, 0xF000}))
             .pixels(QByteArray(16, '\xFF'))
             .file(),
         {},
         0},
        {"16 bits, a mask past the pixel",
         Bmp()
             .depth(16)
             .compression(3)
             .extra(words(4, {0xFF0000, 0xFF00, 0xFF}))
             .pixels(QByteArray(16, '\xFF'))
             .file(),
         {},
         0},
        {"32 bits, no masks at all",
         Bmp()
             .depth(32)
             .compression(3)
             .extra(words(4, {0, 0, 0}))
             .pixels(QByteArray(32, '\xFF'))
             .file(),
         {},
         0},
        {"32 bits, alpha over a colour",
         Bmp()
             .infoSize(108)
             .depth(32)
             .compression(3)
             .inHeader(words(4, {0x00FF0000, 0x0000FF00, 0x000000FF, 0x0000FFFF}))
             .pixels(QByteArray(32, '\xFF'))
             .file(),
         {},
         0},
        // 10 bits keep their top eight: 0x3FB is 254 (a dot), 0x3F7 is 253.
        {"32 bits, 10:10:10",
         Bmp()
             .depth(32)
             .compression(3)
             .extra(words(4, {0x3FF00000, 0x000FFC00, 0x000003FF}))
             .pixels(words(4, {0x3FFFFFFF, (0x3FBu << 20) | 0xFFFFF, (0x3F7u << 20) | 0xFFFFF, 0,
                               0x3FFFFFFF, 0x3FFFFFFF, 0x3FFFFFFF, 0x3FFFFFFF}))
             .file(),
         firstBytes({80}), 32},
    };

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("logo.bmp");
    for (const Variant& variant : variants) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(variant.file);
        out.close();
        const LoadedLogo loaded = loadLogoFile(path);
        if (variant.records.isEmpty()) {
            EXPECT_TRUE(loaded.picture.isNull()) << variant.name;
            EXPECT_EQ(loaded.error.toStdString(),
                      "Файл «logo.bmp» не является рисунком BMP или повреждён.")
                << variant.name;
            continue;
        }
        EXPECT_EQ(loaded.error.toStdString(), "") << variant.name;
        EXPECT_EQ(logoRecords(loaded.picture).join('\n').toStdString(),
                  variant.records.join('\n').toStdString())
            << variant.name;
        EXPECT_EQ(loaded.picture.depth(), variant.depth) << variant.name;
    }
}

}  // namespace
}  // namespace tabulon::logo
