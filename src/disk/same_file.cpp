#include "disk/same_file.h"

#include <QDir>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace tabulon::disk {

namespace {

// Where a file of that name would be made: the folder as it really is (links
// resolved where it exists), then the name.
QString pathToBe(const QString& name) {
    const QFileInfo info(name);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty()) return QDir::cleanPath(info.absoluteFilePath());
    return QDir(folder).filePath(info.fileName());
}

}  // namespace

bool sameFile(const QString& first, const QString& second) {
#ifndef Q_OS_WIN
    struct stat a {};
    struct stat b {};
    const bool firstThere = ::stat(QFile::encodeName(first).constData(), &a) == 0;
    const bool secondThere = ::stat(QFile::encodeName(second).constData(), &b) == 0;
    if (firstThere && secondThere) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
#else
    // No inode to compare: the paths with every link resolved, which Windows
    // does not tell apart by letter case.
    const QString a = QFileInfo(first).canonicalFilePath();
    const QString b = QFileInfo(second).canonicalFilePath();
    const bool firstThere = !a.isEmpty();
    const bool secondThere = !b.isEmpty();
    if (firstThere && secondThere) return a.compare(b, Qt::CaseInsensitive) == 0;
#endif
    if (firstThere || secondThere) return false;
    return pathToBe(first) == pathToBe(second);
}

}  // namespace tabulon::disk
