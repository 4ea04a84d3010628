#include "settings/settings_file.h"

#include <QDir>

namespace tabulon::settings {

QString settingsFilePath(const QString& workingDirectory) {
    return withDirectorySeparator(workingDirectory) + QStringLiteral("Tabulon.ini");
}

QString workingSettingsFile() {
    return settingsFilePath(QDir::currentPath());
}

QString withDirectorySeparator(QString directory) {
    if (!directory.endsWith(QLatin1Char('/')) && !directory.endsWith(QDir::separator()))
        directory += QDir::separator();
    return directory;
}

}  // namespace tabulon::settings
