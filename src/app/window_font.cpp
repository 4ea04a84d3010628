#include "app/window_font.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>

namespace tabulon::app {

namespace {

constexpr int kPixelSize = 11;

// Hinting only up and down keeps every glyph's advance the font's own
// design width scaled to 11 pixels, the width the forms were measured with.
// Full hinting rounds each advance on its own and makes Cyrillic captions up
// to a pixel a letter wider, which is what Windows' default font engine and
// FreeType's default there do; on Windows this preference also selects the
// DirectWrite engine, which honours it.
QFont sized(QFont font) {
    font.setPixelSize(kPixelSize);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

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
        return sized(QFont(QStringLiteral("Tahoma")));
#else
        QFont chosen = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        const QString file = tahomaFontFile();
        const int id = file.isEmpty() ? -1 : QFontDatabase::addApplicationFont(file);
        if (id >= 0) {
            // The bold face, where it is there, keeps bold text in the same family.
            QFontDatabase::addApplicationFont(QFileInfo(file).path() + "/tahomabd.ttf");
            chosen = QFont(QFontDatabase::applicationFontFamilies(id).value(0));
        }
        return sized(chosen);
#endif
    }();
    return font;
}

}  // namespace tabulon::app
