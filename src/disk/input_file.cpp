#include "disk/input_file.h"

#include <QFile>
#include <QFileInfo>

namespace tabulon::disk {

std::optional<QString> notAFileToRead(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile()) return std::nullopt;
    if (info.isDir()) return QStringLiteral("a folder, not a file");
    return QStringLiteral("not a regular file (a device or a pipe)");
}

bool openToRead(QFile& file, QString& error) {
    if (const std::optional<QString> why = notAFileToRead(file.fileName())) {
        error = *why;
        return false;
    }
    if (file.open(QIODevice::ReadOnly)) return true;
    error = file.errorString();
    return false;
}

WholeFile readWholeFile(const QString& path, qint64 limit) {
    QFile file(path);
    WholeFile whole;
    if (!openToRead(file, whole.error)) return whole;
    // One byte past the limit tells a file that grows while it is read, or
    // one whose size the system does not know, from one that fits.
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit) {
        whole.tooLarge = true;
        whole.error = QStringLiteral("larger than %1 MiB, more than any such file holds")
                          .arg(limit / kMebibyte);
    } else if (file.error() != QFileDevice::NoError) {
        whole.error = file.errorString();
    } else {
        whole.bytes = bytes;
    }
    return whole;
}

}  // namespace tabulon::disk
