#include "settings/startup_settings.h"

#include <QDir>

#include "settings/profile_file.h"

namespace tabulon::settings {

namespace {

constexpr int kShortValue = 9;
constexpr int kLongValue = 499;

const QString kCommunication = QStringLiteral("Communication");
const QString kTypeEcr = QStringLiteral("TypeECR");
const QString kReports = QStringLiteral("Reports");

struct ReportKey {
    const char* key;
    const char* defaultName;
};
// In the order the file lists them; the first seven have a field each.
constexpr ReportKey kReportKeys[] = {
    {"Art", "RepArt.dat"},       {"Otd", "RepOtd.dat"},     {"Grp", "RepGrp.dat"},
    {"Operat", "RepOperat.dat"}, {"Nalog", "RepNalog.dat"}, {"Opl", "RepOpl.dat"},
    {"Operac", "RepOperac.dat"}, {"EKL", "EKL.dat"},
};

QString withSeparator(QString directory) {
    if (!directory.endsWith(QLatin1Char('/')) && !directory.endsWith(QDir::separator()))
        directory += QDir::separator();
    return directory;
}

// A report directory written on Windows ends in a backslash, which the report
// paths take as its separator wherever the program runs: another one after
// it would make two.
QString reportDirectoryWithSeparator(const QString& directory) {
    return directory.endsWith(QLatin1Char('\\')) ? directory : withSeparator(directory);
}

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
    for (const ReportKey& report : kReportKeys)
        file.write(kReports, report.key, report.defaultName);
    file.write(kReports, "Directory", workingDirectory);
}

}  // namespace

QString settingsFilePath(const QString& workingDirectory) {
    return withSeparator(workingDirectory) + QStringLiteral("Tabulon.ini");
}

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
    for (const ReportKey& report : kReportKeys) {
        const QString name = file.read(kReports, report.key, report.defaultName, kLongValue);
        if (result.reportFiles.size() < 7)
            result.reportFiles << name;
        else
            result.eklFile = name;
    }
    result.reportDirectory = reportDirectoryWithSeparator(
        file.read(kReports, "Directory", workingDirectory, kLongValue));

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
