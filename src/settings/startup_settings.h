#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "settings/settings_file.h"  // the window finds the file by settingsFilePath

namespace tabulon::settings {

// What the window shows from Tabulon.ini after start-up.
struct StartupSettings {
    int speedIndex = 0;  // into the speed list
    int portIndex = 0;   // into the port list
    // The model list position; nullopt when ECR is not a whole number, in
    // which case ecrText is what the file holds and the caller reports it.
    std::optional<int> modelIndex = 0;
    QString ecrText;
    // Report file names in the order Art, Otd, Grp, Operat, Nalog, Opl, Operac.
    QStringList reportFiles;
    QString eklFile;
    QString reportDirectory;    // with a trailing directory separator
    bool verifyWrites = false;  // "Проверять запись"
};

// Reads Tabulon.ini in the working directory, creating it with the defaults
// when it does not exist, and writes back the single keys whose values are
// not among the choices the window offers (a speed or port it does not list,
// a model number out of range). Later changes in the window are never
// written. Write failures are not reported: the window then shows the
// defaults of this run.
StartupSettings loadStartupSettings(const QString& workingDirectory, const QStringList& speeds,
                                    const QStringList& ports, int modelCount);

}  // namespace tabulon::settings
