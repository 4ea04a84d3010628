#include "logo/logo_file.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace tabulon::logo {

LoadedLogo loadLogoFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), QStringLiteral("Файл «%1» не найден или не открывается.").arg(name)};
    QImageReader reader(&file, "bmp");
    // Without this a PNG named logo.bmp would load as well.
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    QImage picture = reader.read();
    if (picture.isNull())
        return {QImage(),
                QStringLiteral("Файл «%1» не является рисунком BMP или повреждён.").arg(name)};
    return {picture, QString()};
}

QString bmpFileName(const QString& chosen) {
    const qsizetype slash = chosen.lastIndexOf(u'/');
    const qsizetype dot = chosen.lastIndexOf(u'.');
    const QString stem = dot > slash ? chosen.left(dot) : chosen;
    return stem + QStringLiteral(".BMP");
}

QString saveLogoFile(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Файл «%1» не создаётся: %2").arg(path, file.errorString());
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return QStringLiteral("Логотип не записан в файл «%1»: %2").arg(path, writer.errorString());
    }
    if (!file.commit())
        return QStringLiteral("Логотип не записан в файл «%1»: %2").arg(path, file.errorString());
    return QString();
}

}  // namespace tabulon::logo
