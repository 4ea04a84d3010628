#include "logo/logo_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <cstdint>

#include "disk/safe_save.h"

namespace tabulon::logo {

namespace {

quint32 littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

// Whether an uncompressed BMP holds every pixel row its header declares. Qt
// loads one cut short in its rows and leaves the missing pixels as the
// memory it was given, so the dots sent would change from one load to the
// next. Compressed files and headers Qt refuses anyway are left to it.
bool rowsMissing(const QByteArray& file) {
    constexpr qsizetype kFileHeader = 14;
    if (file.size() < kFileHeader + 16) return false;
    const quint32 offset = littleEndian(file, 10, 4);
    const quint32 infoSize = littleEndian(file, 14, 4);
    qint64 width = 0, height = 0, depth = 0, compression = 0;
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes, never compressed
        width = littleEndian(file, 18, 2);
        height = littleEndian(file, 20, 2);
        depth = littleEndian(file, 24, 2);
    } else {
        if (file.size() < kFileHeader + 20) return false;
        width = qint32(littleEndian(file, 18, 4));
        height = qint32(littleEndian(file, 22, 4));
        depth = littleEndian(file, 28, 2);
        compression = littleEndian(file, 30, 4);
    }
    constexpr qint64 kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields)
        return false;
    if (width <= 0 || height == 0 || depth <= 0 || depth > 32) return false;
    // A header may declare 2^31 rows of 2^31 pixels: the bytes they need do
    // not fit in 64 bits, so the rows that fit are counted instead.
    const qint64 rowBytes = (width * depth + 31) / 32 * 4;
    const qint64 pixelBytes = file.size() - qint64(offset);
    return pixelBytes < 0 || qAbs(height) > pixelBytes / rowBytes;
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
    for (int i = colours; i < full; ++i) picture.setColor(i, qRgb(0, 0, 0));
}

}  // namespace

LoadedLogo loadLogoFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), QStringLiteral("Файл «%1» не найден или не открывается.").arg(name)};
    QByteArray bytes = file.readAll();
    const LoadedLogo unusable{
        QImage(), QStringLiteral("Файл «%1» не является рисунком BMP или повреждён.").arg(name)};
    if (rowsMissing(bytes)) return unusable;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // Without this a PNG named logo.bmp would load as well.
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    QImage picture = reader.read();
    if (picture.isNull()) return unusable;
    fillPalette(picture);
    return {picture, QString()};
}

QString bmpFileName(const QString& chosen) {
    const qsizetype slash = chosen.lastIndexOf(u'/');
    const qsizetype dot = chosen.lastIndexOf(u'.');
    const QString stem = dot > slash ? chosen.left(dot) : chosen;
    return stem + QStringLiteral(".BMP");
}

QString saveLogoFile(const QImage& picture, const QString& path) {
    disk::SafeSave file(path);
    if (!file.open())
        return QStringLiteral("Файл «%1» не создаётся: %2").arg(path, file.errorString());
    QImageWriter writer(&file.device(), "bmp");
    if (!writer.write(picture)) {
        file.cancel();
        return QStringLiteral("Логотип не записан в файл «%1»: %2").arg(path, writer.errorString());
    }
    if (!file.commit())
        return QStringLiteral("Логотип не записан в файл «%1»: %2").arg(path, file.errorString());
    return QString();
}

}  // namespace tabulon::logo
