#include "logo/logo_file.h"

#include <QFileInfo>
#include <QImageWriter>
#include <optional>

#include "disk/input_file.h"
#include "disk/safe_save.h"
#include "logo/bit_field_colours.h"
#include "logo/bmp_layout.h"
#include "logo/bmp_reading.h"
#include "logo/run_length_end.h"

namespace tabulon::logo {

LoadedLogo loadLogoFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    // The registers' logo is 192 × 200 dots, some 150 KB as a BMP of 32 bits
    // a pixel: 4 MB leaves room for a picture drawn many times larger.
    constexpr qint64 kLargestLogoFile = 4 * disk::kMebibyte;
    if (disk::notAFileToRead(path)) {
        return {QImage(),
                QStringLiteral("«%1» — не файл, а устройство, канал или папка: логотип "
                               "загружается из файла BMP.")
                    .arg(name),
                QStringLiteral("not a file but a device, a pipe or a folder: the logo is loaded "
                               "from a BMP file")};
    }
    const disk::WholeFile file = disk::readWholeFile(path, kLargestLogoFile);
    if (file.tooLarge) {
        return {QImage(), QStringLiteral("Файл «%1» больше %2 МБ: логотип (192 × 200 точек) "
                                         "не бывает таким большим.")
                              .arg(name)
                              .arg(kLargestLogoFile / disk::kMebibyte),
                QStringLiteral("larger than %1 MiB: a logo (192 × 200 dots) is never that large")
                    .arg(kLargestLogoFile / disk::kMebibyte)};
    }
    if (!file.error.isEmpty())
        return {QImage(), QStringLiteral("Файл «%1» не найден или не открывается.").arg(name),
                QStringLiteral("cannot open: %1").arg(file.error)};
    const QByteArray& bytes = file.bytes;
    const LoadedLogo unusable{
        QImage(), QStringLiteral("Файл «%1» не является рисунком BMP или повреждён.").arg(name),
        QStringLiteral("not a BMP picture, or a damaged one")};
    const std::optional<BmpLayout> layout = readBmpLayout(bytes);
    if (!layout) return unusable;
    QImage picture = readBmpPixels(readableBmp(endAfterWholeCodes(bytes, *layout), *layout));
    // A picture of another size than the headers say was not read as they
    // were understood here.
    if (picture.isNull() || picture.width() != layout->width || picture.height() != layout->rows())
        return unusable;
    if (layout->bitFieldColours() && !redrawBitFieldColours(picture, bytes, *layout))
        return unusable;
    return {picture, QString(), QString()};
}

QString bmpFileName(const QString& chosen) {
    const qsizetype slash = chosen.lastIndexOf(u'/');
    const qsizetype dot = chosen.lastIndexOf(u'.');
    if (dot <= slash) return chosen + QStringLiteral(".BMP");
    // On a file system that tells letter cases apart, logo.bmp and logo.BMP
    // are two files: the name the user gave is kept.
    if (QStringView(chosen).sliced(dot + 1).compare(u"bmp", Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen.left(dot) + QStringLiteral(".BMP");
}

std::optional<LogoSaveFailure> saveLogo(const QImage& picture, const QString& path) {
    disk::SafeSave file(path);
    if (!file.open()) return LogoSaveFailure{false, file.errorString()};
    QImageWriter writer(&file.device(), "bmp");
    if (!writer.write(picture)) {
        file.cancel();
        return LogoSaveFailure{true, writer.errorString()};
    }
    if (!file.commit()) return LogoSaveFailure{true, file.errorString()};
    return std::nullopt;
}

QString saveLogoFile(const QImage& picture, const QString& path) {
    const std::optional<LogoSaveFailure> failure = saveLogo(picture, path);
    if (!failure) return QString();
    return (failure->created ? QStringLiteral("Логотип не записан в файл «%1»: %2")
                             : QStringLiteral("Файл «%1» не создаётся: %2"))
        .arg(path, failure->detail);
}

}  // namespace tabulon::logo
