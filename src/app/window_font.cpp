#include "app/window_font.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>

namespace tabulon::app {

namespace {
constexpr int kPixelSize = 11;
}  // namespace

QString tahomaFontFile(const QString& packageFileList) {
    QFile list(packageFileList);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    while (!list.atEnd()) {
        const QString path = QString::fromUtf8(list.readLine()).trimmed();
        if (path.endsWith(QLatin1String("/tahoma.ttf"), Qt::CaseInsensitive) &&
            QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QFont windowFont() {
    static const QFont font = [] {
#ifdef Q_OS_WIN
        // Tahoma is one of the system's own fonts on Windows.
        QFont chosen(QStringLiteral("Tahoma"));
        chosen.setPixelSize(kPixelSize);
        return chosen;
#else
        QFont chosen = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        const QString file = tahomaFontFile();
        const int id = file.isEmpty() ? -1 : QFontDatabase::addApplicationFont(file);
        if (id >= 0) {
            // The bold face, where it is there, keeps bold text in the same family.
            QFontDatabase::addApplicationFont(QFileInfo(file).path() + "/tahomabd.ttf");
            chosen = QFont(QFontDatabase::applicationFontFamilies(id).value(0));
        }
        chosen.setPixelSize(kPixelSize);
        return chosen;
#endif
    }();
    return font;
}

}  // namespace tabulon::app
