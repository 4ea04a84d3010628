#include "settings/startup_settings.h"

#include "settings/profile_file.h"
#include "settings/report_settings.h"
#include "settings/verify_setting.h"

namespace tabulon::settings {

namespace {

constexpr int kShortValue = 9;

const QString kCommunication = QStringLiteral("Communication");
const QString kTypeEcr = QStringLiteral("TypeECR");

// Position of the entry equal to the text, letter case ignored.
int indexIn(const QStringList& list, const QString& text) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].compare(text, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

void createDefaults(const ProfileFile& file, const QString& workingDirectory) {
    file.write(kCommunication, "Speed", "4800");
    file.write(kCommunication, "SerialPort", "COM1");
    file.write(kTypeEcr, "ECR", "0");
    writeReportDefaults(file, workingDirectory);
}

}  // namespace

StartupSettings loadStartupSettings(const QString& workingDirectory, const QStringList& speeds,
                                    const QStringList& ports, int modelCount) {
    const ProfileFile file(settingsFilePath(workingDirectory));
    QString speed = QStringLiteral("4800");
    QString port = QStringLiteral("COM1");
    QString ecr = QStringLiteral("0");
    if (file.exists()) {
        speed = file.read(kCommunication, "Speed", speed, kShortValue);
        port = file.read(kCommunication, "SerialPort", port, kShortValue);
        ecr = file.read(kTypeEcr, "ECR", ecr, kShortValue);
    } else {
        createDefaults(file, workingDirectory);
    }

    StartupSettings result;
    const ReportSettings reports = readReportSettings(file, workingDirectory);
    result.reportFiles = reports.files;
    result.eklFile = reports.eklFile;
    result.reportDirectory = reports.directory;
    result.verifyWrites = verifyWritesSetting(file);

    result.speedIndex = indexIn(speeds, speed);
    if (result.speedIndex < 0) {
        result.speedIndex = 0;
        file.write(kCommunication, "Speed", speeds.value(0));
    }
    result.portIndex = indexIn(ports, port);
    if (result.portIndex < 0) {
        result.portIndex = 0;
        file.write(kCommunication, "SerialPort", ports.value(0));
    }

    result.ecrText = ecr;
    bool isNumber = false;
    const int model = ecr.toInt(&isNumber);
    if (!isNumber) {
        result.modelIndex = std::nullopt;
    } else if (model >= 0 && model < modelCount) {
        result.modelIndex = model;
    } else {
        result.modelIndex = 0;
        file.write(kTypeEcr, "ECR", "0");
    }
    return result;
}

}  // namespace tabulon::settings
