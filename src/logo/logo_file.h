#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace tabulon::logo {

// A picture loaded from a BMP file as the file has it (width, height, depth),
// or null with `error` saying why not. Pixels a run-length code skips are
// white (a palette with no room for white makes the picture true colour);
// colour channels of other widths than eight bits are made eight, white
// staying white.
struct LoadedLogo {
    QImage picture;
    QString error;
    QString englishError;  // the same, for the command line
};

// Only BMP: a file of any other kind is refused, whatever its name says.
LoadedLogo loadLogoFile(const QString& path);

// The chosen name with its extension replaced by ".BMP", or ".BMP" appended
// when it has none; ".bmp" in any letter case is kept as it is. A dot in a
// folder name is not an extension.
QString bmpFileName(const QString& chosen);

// Why a picture was not saved: its file could not be created, or not
// written whole; `detail` in the system's words.
struct LogoSaveFailure {
    bool created = false;
    QString detail;
};

// Writes the picture as a BMP file through a temporary, so that a failed save
// leaves no truncated file. nullopt when saved.
std::optional<LogoSaveFailure> saveLogo(const QImage& picture, const QString& path);

// The same, with the window's text of why not; empty when saved.
QString saveLogoFile(const QImage& picture, const QString& path);

}  // namespace tabulon::logo
