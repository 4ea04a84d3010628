#include "settings/report_settings.h"

#include "settings/profile_file.h"
#include "settings/settings_file.h"

namespace tabulon::settings {

namespace {

constexpr int kLongValue = 499;
constexpr qsizetype kReportFileCount = 7;

const QString kReports = QStringLiteral("Reports");
const QString kDirectory = QStringLiteral("Directory");

struct ReportKey {
    const char* key;
    const char* defaultName;
};
// In the order the file lists them; the first seven are the reports, the
// last the electronic journal.
constexpr ReportKey kReportKeys[] = {
    {"Art", "RepArt.dat"},       {"Otd", "RepOtd.dat"},     {"Grp", "RepGrp.dat"},
    {"Operat", "RepOperat.dat"}, {"Nalog", "RepNalog.dat"}, {"Opl", "RepOpl.dat"},
    {"Operac", "RepOperac.dat"}, {"EKL", "EKL.dat"},
};

// A report directory written on Windows ends in a backslash, which the report
// paths take as its separator wherever the program runs: another one after
// it would make two.
QString reportDirectoryWithSeparator(const QString& directory) {
    return directory.endsWith(QLatin1Char('\\')) ? directory : withDirectorySeparator(directory);
}

}  // namespace

ReportSettings readReportSettings(const ProfileFile& file, const QString& workingDirectory) {
    ReportSettings result;
    for (const ReportKey& report : kReportKeys) {
        const QString name = file.read(kReports, report.key, report.defaultName, kLongValue);
        if (result.files.size() < kReportFileCount)
            result.files << name;
        else
            result.eklFile = name;
    }
    result.directory =
        reportDirectoryWithSeparator(file.read(kReports, kDirectory, workingDirectory, kLongValue));
    return result;
}

void writeReportDefaults(const ProfileFile& file, const QString& workingDirectory) {
    for (const ReportKey& report : kReportKeys)
        file.write(kReports, report.key, report.defaultName);
    file.write(kReports, kDirectory, workingDirectory);
}

}  // namespace tabulon::settings
