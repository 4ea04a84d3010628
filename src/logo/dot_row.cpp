#include "logo/dot_row.h"

namespace tabulon::logo {

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

bool isIndexed(const QImage& picture) {
    return picture.colorCount() > 0;
}

// The place of an exact colour in the picture's palette, added where there is
// room; -1 when the palette is full without it.
int paletteIndex(QImage& picture, QRgb color) {
    const QList<QRgb> table = picture.colorTable();
    for (qsizetype i = 0; i < table.size(); ++i) {
        if (qRed(table[i]) == qRed(color) && qGreen(table[i]) == qGreen(color) &&
            qBlue(table[i]) == qBlue(color))
            return int(i);
    }
    const int room = picture.depth() == 1 ? 2 : 256;
    if (table.size() >= room) return -1;
    picture.setColorCount(int(table.size()) + 1);
    picture.setColor(int(table.size()), color);
    return int(table.size());
}

}  // namespace

QImage blankLogo() {
    QImage picture(kDotsPerRow, kLogoRows, QImage::Format_Mono);
    picture.setColorCount(2);
    picture.setColor(0, kWhite);
    picture.setColor(1, kBlack);
    picture.fill(0);
    return picture;
}

bool isDot(QRgb color) {
    return (qRed(color) & 1) == 0;
}

DotBytes rowBytes(const QImage& picture, int y) {
    DotBytes bytes{};
    if (y < 0 || y >= picture.height()) return bytes;
    const int width = qMin(picture.width(), kDotsPerRow);
    for (int x = 0; x < width; ++x) {
        if (isDot(picture.pixel(x, y))) bytes[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    }
    return bytes;
}

QByteArray recordText(const DotBytes& bytes) {
    QByteArray text;
    text.reserve(kBytesPerRow * 4);
    for (std::uint8_t value : bytes) {
        text += QByteArray::number(value);
        text += ';';
    }
    return text;
}

QList<QByteArray> logoRecords(const QImage& picture) {
    QList<QByteArray> records;
    records.reserve(picture.height());
    for (int y = 0; y < picture.height(); ++y) records << recordText(rowBytes(picture, y));
    return records;
}

QList<std::uint8_t> replyValues(QByteArrayView reply) {
    qsizetype at = 0;
    for (int leading = 0; leading < 2; ++leading) {
        const qsizetype end = reply.indexOf(';', at);
        if (end < 0) return {};
        at = end + 1;
    }
    QList<std::uint8_t> values;
    unsigned value = 0;
    for (; at < reply.size() && values.size() < kBytesPerRow; ++at) {
        const char c = reply[at];
        if (c == ';') {
            values << std::uint8_t(value);
            value = 0;
        } else {
            // Unsigned, so that whatever the register sends wraps instead of
            // overflowing; the low eight bits come out as digit arithmetic
            // gives them.
            value = value * 10u + unsigned(std::uint8_t(c)) - unsigned('0');
        }
    }
    return values;
}

void drawRow(QImage& picture, int y, const QList<std::uint8_t>& values) {
    if (values.isEmpty() || y < 0) return;
    if (picture.isNull()) picture = blankLogo();
    if (y >= picture.height()) return;

    uint black = kBlack;
    uint white = kWhite;
    if (isIndexed(picture)) {
        const int blackIndex = paletteIndex(picture, kBlack);
        const int whiteIndex = blackIndex < 0 ? -1 : paletteIndex(picture, kWhite);
        if (whiteIndex < 0) {
            // No room for black and white in the palette: the picture takes
            // true colour rather than showing the logo in the wrong colours.
            picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                        : QImage::Format_RGB32);
        } else {
            black = uint(blackIndex);
            white = uint(whiteIndex);
        }
    }
    for (qsizetype n = 0; n < values.size(); ++n) {
        for (int b = 0; b < 8; ++b) {
            const int x = int(8 * (n + 1)) - 1 - b;
            if (x >= picture.width()) continue;
            picture.setPixel(x, y, (values[n] >> b) & 1 ? black : white);
        }
    }
}

}  // namespace tabulon::logo
