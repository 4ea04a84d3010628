#pragma once

#include <QFont>
#include <QString>

namespace tabulon::app {

// Where dpkg keeps the file list of Debian's fonts-wine package (what
// `dpkg -L fonts-wine` prints).
inline constexpr const char* kFontsWineFileList = "/var/lib/dpkg/info/fonts-wine.list";

// The path of tahoma.ttf named in a package file list, when that file is
// there; empty otherwise.
QString tahomaFontFile(const QString& packageFileList = QString::fromLatin1(kFontsWineFileList));

// The font the windows are laid out for. Every place and size of the forms
// was measured with 8-point Tahoma at 96 dpi, 11 pixels high; wine's free
// Tahoma has the same advance widths and Cyrillic. Without it the desktop's
// sans font at the same pixel size is the nearest fit. On Windows the one
// the program carries, else the system's.
QFont windowFont();

}  // namespace tabulon::app
