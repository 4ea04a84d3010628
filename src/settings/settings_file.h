#pragma once

#include <QString>

namespace tabulon::settings {

// The settings file of a working directory. The window and the command line
// both look for it here, so the name is said once.
QString settingsFilePath(const QString& workingDirectory);

// The settings file of the working directory as it is at the moment of the
// call (the window and the command line never change it, but a port opened
// later looks again).
QString workingSettingsFile();

// The directory with a directory separator at its end, added only when it
// has none.
QString withDirectorySeparator(QString directory);

}  // namespace tabulon::settings
