#include "app/window_font.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>

namespace tabulon::app {

namespace {

constexpr int kPixelSize = 11;

// Hinting only up and down keeps every glyph's advance the font's own
// design width scaled to 11 pixels, the width the forms were measured with.
// Full hinting rounds each advance on its own and makes Cyrillic captions up
// to a pixel a letter wider, which is what Windows' GDI engine does (the
// preference would select DirectWrite only in a Qt built with Direct2D, which
// the Windows build is not); FreeType honours it on both systems.
QFont sized(QFont font) {
    font.setPixelSize(kPixelSize);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

// Loads a Tahoma file, and its bold face beside it where that is there, for
// this program only; the family, or empty when the file will not load.
QString loadedFamily(const QString& file) {
    const int id = file.isEmpty() ? -1 : QFontDatabase::addApplicationFont(file);
    if (id < 0) return {};
    QFontDatabase::addApplicationFont(QFileInfo(file).path() + QStringLiteral("/tahomabd.ttf"));
    return QFontDatabase::applicationFontFamilies(id).value(0);
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
        // The program carries wine's Tahoma (fonts\tahoma.ttf beside it): a
        // fresh prefix of Debian's wine lists no Tahoma at all, and Qt, finding
        // neither it nor its stand-ins ("MS Shell Dlg 2", "Segoe UI"), takes
        // the first family it knows, "DejaVu Math TeX Gyre", a serif. With the
        // FreeType engine that main() asks for, the same file gives the same
        // widths as on Linux.
        const QString family = loadedFamily(QCoreApplication::applicationDirPath() +
                                            QStringLiteral("/fonts/tahoma.ttf"));
        return sized(QFont(family.isEmpty() ? QStringLiteral("Tahoma") : family));
#else
        const QString family = loadedFamily(tahomaFontFile());
        return sized(family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                      : QFont(family));
#endif
    }();
    return font;
}

}  // namespace tabulon::app
