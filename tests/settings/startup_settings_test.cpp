#include "settings/startup_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "support/file_bytes.h"

namespace tabulon::settings {
namespace {

using testing::readFile;
using testing::writeFile;

// `text` with each "|" as the separator this system puts after a directory.
QString separated(QString text) {
    return text.replace(u'|', QDir::separator());
}

const QStringList kSpeeds{"4800", "9600", "14400", "19200", "28800", "38400", "56000", "115200"};
const QStringList kPorts{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"};

class StartupSettingsTest : public ::testing::Test {
protected:
    StartupSettings load() { return loadStartupSettings(dir.path(), kSpeeds, kPorts, 3); }
    QByteArray fileBytes() { return readFile(iniPath); }
    void givenFile(const QByteArray& bytes) { writeFile(iniPath, bytes); }

    QTemporaryDir dir;
    QString iniPath = dir.filePath("Tabulon.ini");
};

const QByteArray kStored =
    "[Communication]\r\nSpeed=9600\r\nSerialPort=COM2\r\n"
    "[TypeECR]\r\nECR=1\r\n"
    "[Reports]\r\nArt=a.dat\r\nDirectory=/reports\r\n";

TEST_F(StartupSettingsTest, FirstStartCreatesTheFileWithTheDefaults) {
    const StartupSettings s = load();
    const QByteArray dirBytes = dir.path().toLocal8Bit();
    EXPECT_EQ(fileBytes(),
              "[Communication]\r\nSpeed=4800\r\nSerialPort=COM1\r\n"
              "[TypeECR]\r\nECR=0\r\n"
              "[Reports]\r\nArt=RepArt.dat\r\nOtd=RepOtd.dat\r\nGrp=RepGrp.dat\r\n"
              "Operat=RepOperat.dat\r\nNalog=RepNalog.dat\r\nOpl=RepOpl.dat\r\n"
              "Operac=RepOperac.dat\r\nEKL=EKL.dat\r\nDirectory=" +
                  dirBytes + "\r\n");
    EXPECT_EQ(s.speedIndex, 0);
    EXPECT_EQ(s.portIndex, 0);
    EXPECT_EQ(s.modelIndex, 0);
    EXPECT_EQ(s.reportFiles, QStringList({"RepArt.dat", "RepOtd.dat", "RepGrp.dat", "RepOperat.dat",
                                          "RepNalog.dat", "RepOpl.dat", "RepOperac.dat"}));
    EXPECT_EQ(s.eklFile, "EKL.dat");
    EXPECT_EQ(s.reportDirectory, dir.path() + QDir::separator());
}

TEST_F(StartupSettingsTest, StoredChoicesAreTakenAndNothingIsWritten) {
    givenFile(kStored);
    const StartupSettings s = load();
    EXPECT_EQ(s.speedIndex, 1);
    EXPECT_EQ(s.portIndex, 1);
    EXPECT_EQ(s.modelIndex, 1);
    EXPECT_EQ(s.reportFiles.value(0), "a.dat");
    EXPECT_EQ(s.reportFiles.value(1), "RepOtd.dat");
    EXPECT_EQ(s.reportDirectory, separated("/reports|"));
    EXPECT_EQ(fileBytes(), kStored);
}

TEST_F(StartupSettingsTest, PortNamesMatchInAnyCase) {
    QByteArray stored = kStored;
    givenFile(stored.replace("COM2", "com7"));
    EXPECT_EQ(load().portIndex, 6);
    EXPECT_EQ(fileBytes(), stored);
}

TEST_F(StartupSettingsTest, UnlistedValuesAreCorrectedInPlace) {
    struct Case {
        QByteArray from, to;
        int speed, port, model;
    };
    const Case cases[] = {
        {"Speed=9600", "Speed=4800", 0, 1, 1},
        {"SerialPort=COM2", "SerialPort=COM1", 1, 0, 1},
        {"ECR=1", "ECR=0", 1, 1, 0},
    };
    const QByteArray badValues[] = {"Speed=57600", "SerialPort=COM10", "ECR=3"};
    for (int i = 0; i < 3; ++i) {
        QByteArray stored = kStored;
        givenFile(stored.replace(cases[i].from, badValues[i]));
        const StartupSettings s = load();
        EXPECT_EQ(s.speedIndex, cases[i].speed) << badValues[i].constData();
        EXPECT_EQ(s.portIndex, cases[i].port) << badValues[i].constData();
        EXPECT_EQ(s.modelIndex, cases[i].model) << badValues[i].constData();
        QByteArray expected = kStored;
        EXPECT_EQ(fileBytes(), expected.replace(cases[i].from, cases[i].to));
    }
}

TEST_F(StartupSettingsTest, NegativeModelNumberIsCorrected) {
    QByteArray stored = kStored;
    givenFile(stored.replace("ECR=1", "ECR=-1"));
    EXPECT_EQ(load().modelIndex, 0);
    EXPECT_EQ(fileBytes(), kStored.left(kStored.indexOf("ECR=1")) + "ECR=0" +
                               kStored.mid(kStored.indexOf("ECR=1") + 5));
}

TEST_F(StartupSettingsTest, ModelNumberThatIsNotANumberIsReportedAndNotWritten) {
    QByteArray stored = kStored;
    givenFile(stored.replace("ECR=1", "ECR=abc"));
    const StartupSettings s = load();
    EXPECT_FALSE(s.modelIndex.has_value());
    EXPECT_EQ(s.ecrText, "abc");
    EXPECT_EQ(fileBytes(), stored);
}

TEST_F(StartupSettingsTest, AFolderNameOutsideWindows1251ComesBackAsItWasWritten) {
    const QString folder = dir.filePath("Müller");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QStringList firstStart = loadStartupSettings(folder, kSpeeds, kPorts, 3).reportFiles;
    EXPECT_EQ(firstStart.value(0), "RepArt.dat");
    EXPECT_TRUE(readFile(folder + "/Tabulon.ini").contains("M\xC3\xBCller\r\n"));
    EXPECT_EQ(loadStartupSettings(folder, kSpeeds, kPorts, 3).reportDirectory,
              folder + QDir::separator());
}

TEST_F(StartupSettingsTest, MissingKeysOfAnExistingFileTakeTheirDefaults) {
    givenFile("[TypeECR]\r\nECR=2\r\n");
    const StartupSettings s = load();
    EXPECT_EQ(s.modelIndex, 2);
    EXPECT_EQ(s.speedIndex, 0);
    EXPECT_EQ(s.reportDirectory, dir.path() + QDir::separator());
    // The defaults are in the lists, so nothing needed writing.
    EXPECT_EQ(fileBytes(), "[TypeECR]\r\nECR=2\r\n");
}

TEST_F(StartupSettingsTest, TheReportDirectoryEndsInExactlyOneSeparator) {
    const struct {
        QByteArray stored;
        QString directory;
    } rows[] = {
        {"/reports", separated("/reports|")},
        {"/reports/", "/reports/"},
        // Written on Windows: its backslash already ends the directory.
        {"C:\\Rep\\", "C:\\Rep\\"},
    };
    for (const auto& row : rows) {
        givenFile("[Reports]\r\nDirectory=" + row.stored + "\r\n");
        EXPECT_EQ(load().reportDirectory, row.directory) << row.stored.constData();
    }
}

}  // namespace
}  // namespace tabulon::settings
