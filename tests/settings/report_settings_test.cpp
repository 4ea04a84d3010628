#include "settings/report_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "settings/profile_file.h"
#include "settings/settings_file.h"
#include "support/file_bytes.h"

namespace tabulon::settings {
namespace {

const QStringList kDefaultFiles{"RepArt.dat",   "RepOtd.dat", "RepGrp.dat",   "RepOperat.dat",
                                "RepNalog.dat", "RepOpl.dat", "RepOperac.dat"};

// `text` with each "|" as the separator this system puts after a directory.
QString separated(QString text) {
    return text.replace(u'|', QDir::separator());
}

// The default names with some replaced, by position.
QStringList defaultsWith(const QList<std::pair<int, QString>>& changes) {
    QStringList files = kDefaultFiles;
    for (const auto& [index, name] : changes) files[index] = name;
    return files;
}

TEST(ReportSettings, EachKeyIsReadOrTakesItsDefault) {
    const QString longName = QString(600, u'x');
    const struct {
        const char* what;
        QByteArray bytes;  // null: no settings file at all
        QStringList files;
        QString eklFile;
        QString directory;  // "~" stands for the working directory, "|" for the separator
    } rows[] = {
        {"no file", QByteArray(), kDefaultFiles, "EKL.dat", "~|"},
        {"no section", "[Communication]\r\nArt=a.dat\r\n", kDefaultFiles, "EKL.dat", "~|"},
        {"an empty section", "[Reports]\r\n", kDefaultFiles, "EKL.dat", "~|"},
        {"every key",
         "[Reports]\r\nArt=1.dat\r\nOtd=2.dat\r\nGrp=3.dat\r\nOperat=4.dat\r\nNalog=5.dat\r\n"
         "Opl=6.dat\r\nOperac=7.dat\r\nEKL=8.dat\r\nDirectory=/rep\r\n",
         {"1.dat", "2.dat", "3.dat", "4.dat", "5.dat", "6.dat", "7.dat"},
         "8.dat",
         "/rep|"},
        {"some keys, in any order and letter case",
         "[reports]\r\nEKL=journal.txt\r\noperac=smena.txt\r\nOTD=otdely.txt\r\n",
         defaultsWith({{1, "otdely.txt"}, {6, "smena.txt"}}), "journal.txt", "~|"},
        {"blanks and quotes around values",
         "[Reports]\r\nGrp = \"groups.dat\" \r\nDirectory= C:\\Rep\\ \r\n",
         defaultsWith({{2, "groups.dat"}}), "EKL.dat", "C:\\Rep\\"},
        {"an empty value is no name", "[Reports]\r\nArt=\r\n", defaultsWith({{0, ""}}), "EKL.dat",
         "~|"},
        {"a name cut to 499 characters", "[Reports]\r\nNalog=" + longName.toLatin1() + "\r\n",
         defaultsWith({{4, longName.left(499)}}), "EKL.dat", "~|"},
        {"a directory with its separator", "[Reports]\r\nDirectory=/rep/\r\n", kDefaultFiles,
         "EKL.dat", "/rep/"},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        if (!row.bytes.isNull()) testing::writeFile(path, row.bytes);
        const ReportSettings read = readReportSettings(ProfileFile(path), dir.path());
        EXPECT_EQ(read.files, row.files) << row.what;
        EXPECT_EQ(read.eklFile, row.eklFile) << row.what;
        QString directory = separated(row.directory);
        EXPECT_EQ(read.directory, directory.replace(u'~', dir.path())) << row.what;
        // Reading never writes: no file is created, none is changed.
        EXPECT_EQ(testing::readFile(path), row.bytes) << row.what;
        EXPECT_EQ(QFile::exists(path), !row.bytes.isNull()) << row.what;
    }
}

TEST(ReportSettings, TheSettingsFileOfADirectory) {
    const struct {
        QString directory;
        QString path;
    } rows[] = {
        {"/work/shop", separated("/work/shop|Tabulon.ini")},
        {"/work/shop/", "/work/shop/Tabulon.ini"},
        {"/", "/Tabulon.ini"},
    };
    for (const auto& row : rows) EXPECT_EQ(settingsFilePath(row.directory), row.path);
}

}  // namespace
}  // namespace tabulon::settings
