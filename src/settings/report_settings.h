#pragma once

#include <QString>
#include <QStringList>

namespace tabulon::settings {

class ProfileFile;

// The [Reports] section: what the downloaded reports are called and where
// the window puts them.
struct ReportSettings {
    // Art, Otd, Grp, Operat, Nalog, Opl, Operac: the order the reports are
    // read in.
    QStringList files;
    QString eklFile;
    QString directory;  // with a trailing directory separator
};

// Reads the section; a missing file or key takes its default, the directory
// the working directory.
ReportSettings readReportSettings(const ProfileFile& file, const QString& workingDirectory);

// Writes every key of the section with its default, in the order the file
// lists them.
void writeReportDefaults(const ProfileFile& file, const QString& workingDirectory);

}  // namespace tabulon::settings
