#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/file_bytes.h"

namespace tabulon::settings {
namespace {

using testing::readFile;
using testing::writeFile;

class ProfileFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Tabulon.ini");
    ProfileFile file{path};
};

TEST_F(ProfileFileTest, ReadsWithDefaultsWhenFileSectionOrKeyIsMissing) {
    EXPECT_EQ(file.read("Communication", "Speed", "4800", 9), "4800");
    writeFile(path, "[Other]\r\nSpeed=9600\r\n");
    EXPECT_EQ(file.read("Communication", "Speed", "4800", 9), "4800");
    writeFile(path, "[Communication]\r\nPort=COM2\r\n");
    EXPECT_EQ(file.read("Communication", "Speed", "4800", 9), "4800");
}

TEST_F(ProfileFileTest, MatchesNamesAnyCaseAndDropsBlanksAndQuotes) {
    writeFile(path,
              "  [communication]  \r\n"
              "  speed  =  9600  \r\n"
              "SerialPort=\"COM2\"\r\n"
              "Quoted=' spaced '\r\n"
              "Unmatched=\"COM3'\r\n"
              "Empty=\r\n");
    EXPECT_EQ(file.read("COMMUNICATION", "Speed", "4800", 9), "9600");
    EXPECT_EQ(file.read("Communication", "serialport", "COM1", 9), "COM2");
    EXPECT_EQ(file.read("Communication", "Quoted", "", 9), " spaced ");
    EXPECT_EQ(file.read("Communication", "Unmatched", "", 9), "\"COM3'");
    EXPECT_EQ(file.read("Communication", "Empty", "x", 9), "");
}

TEST_F(ProfileFileTest, CutsValuesToTheLongestLengthAsked) {
    writeFile(path, "[Reports]\r\nArt=" + QByteArray(600, 'a') + "\r\nSpeed=12345678901\r\n");
    EXPECT_EQ(file.read("Reports", "Art", "", 499), QString(499, 'a'));
    EXPECT_EQ(file.read("Reports", "Speed", "", 9), "123456789");
    EXPECT_EQ(file.read("Reports", "Missing", "1234567890", 9), "123456789");
}

TEST_F(ProfileFileTest, ReadsFilesWithLineFeedsOnly) {
    writeFile(path, "[Communication]\nSpeed=19200\nSerialPort=COM4\n[TypeECR]\nECR=2");
    EXPECT_EQ(file.read("Communication", "SerialPort", "", 9), "COM4");
    EXPECT_EQ(file.read("TypeECR", "ECR", "", 9), "2");
}

// What writing keys does to the file's bytes: a new file is made section by
// section; the file's spelling of names stays, and a missing key or section
// goes at the end of its section or of the file.
TEST_F(ProfileFileTest, WritesEachKeyWhereItBelongs) {
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const struct {
        const char* what;
        QByteArray before;  // null: no file yet
        QList<Write> writes;
        QByteArray after;
    } rows[] = {
        {"a new file, section by section",
         {},
         {{"Communication", "Speed", "4800"},
          {"TypeECR", "ECR", "0"},
          {"Communication", "SerialPort", "COM1"}},
         "[Communication]\r\nSpeed=4800\r\nSerialPort=COM1\r\n[TypeECR]\r\nECR=0\r\n"},
        {"the file's spelling of key and section",
         "[communication]\r\nspeed=9600\r\n[REPORTS]\r\nART=x.dat\r\n",
         {{"Communication", "Speed", "4800"},
          {"Reports", "Art", "RepArt.dat"},
          {"Reports", "Otd", "RepOtd.dat"}},
         "[communication]\r\nspeed=4800\r\n[REPORTS]\r\nART=RepArt.dat\r\nOtd=RepOtd.dat\r\n"},
        {"a missing key at the end of its section",
         "[TypeECR]\r\nOther=1\r\n\r\n[Reports]\nArt=a.dat",
         {{"TypeECR", "ECR", "0"}, {"Reports", "Otd", "b.dat"}},
         "[TypeECR]\r\nOther=1\r\nECR=0\r\n\r\n[Reports]\nArt=a.dat\r\nOtd=b.dat\r\n"},
        {"a missing section after a file without final line end",
         "[Communication]\r\nSpeed=9600",
         {{"TypeECR", "ECR", "1"}},
         "[Communication]\r\nSpeed=9600\r\n[TypeECR]\r\nECR=1\r\n"},
    };
    for (const auto& row : rows) {
        QFile::remove(path);
        if (!row.before.isNull()) writeFile(path, row.before);
        ProfileFile profile(path);
        for (const Write& w : row.writes)
            ASSERT_TRUE(profile.write(w.section, w.key, w.value)) << row.what;
        EXPECT_EQ(readFile(path), row.after) << row.what;
    }
}

TEST_F(ProfileFileTest, ReplacingAKeyLeavesEveryOtherByteAlone) {
    const QByteArray before =
        "; kept by hand\r\n"
        "[Communication]\r\n"
        "Extra = keep me\r\n"
        "speed = 57600\r\n"
        "SerialPort=COM1\n"
        "\r\n"
        "[Ports]\r\n"
        "COM1=/dev/ttyUSB0\r\n";
    writeFile(path, before);
    ASSERT_TRUE(file.write("Communication", "Speed", "4800"));
    QByteArray expected = before;
    expected.replace("speed = 57600", "speed=4800");
    EXPECT_EQ(readFile(path), expected);
}

// A section line led by a control character other than a blank (a form
// feed, a vertical tab, a lone CR) was a section for writing but not for
// reading: the value written there read back as the default, and the key
// read in the section before changed instead.
TEST_F(ProfileFileTest, ReadsAndWritesTheSameLinesAsSections) {
    writeFile(path,
              "[Communication]\r\nSpeed=9600\r\n\v[Reports]\r\nDirectory=old\r\n"
              "\f [TypeECR]\r\nECR=1\r\n");
    EXPECT_EQ(file.read("Reports", "Directory", "-", 499), "old");
    EXPECT_EQ(file.read("Communication", "Directory", "-", 499), "-");
    EXPECT_EQ(file.read("TypeECR", "ECR", "-", 9), "1");
    ASSERT_TRUE(file.write("Reports", "Directory", "new"));
    ASSERT_TRUE(file.write("TypeECR", "ECR", "2"));
    const ProfileFile again(path);
    EXPECT_EQ(again.read("Reports", "Directory", "-", 499), "new");
    EXPECT_EQ(again.read("Communication", "Directory", "-", 499), "-");
    EXPECT_EQ(again.read("TypeECR", "ECR", "-", 9), "2");
    EXPECT_EQ(readFile(path),
              "[Communication]\r\nSpeed=9600\r\n\v[Reports]\r\nDirectory=new\r\n"
              "\f [TypeECR]\r\nECR=2\r\n");
}

TEST_F(ProfileFileTest, KeepsCyrillicValuesInWindows1251) {
    ASSERT_TRUE(file.write("Reports", "Directory", "/дом"));
    EXPECT_EQ(readFile(path), "[Reports]\r\nDirectory=/\xE4\xEE\xEC\r\n");
    EXPECT_EQ(file.read("Reports", "Directory", "", 499), "/дом");
}

TEST_F(ProfileFileTest, ReadsUtf8WhereItIsValidAndWindows1251Elsewhere) {
    // Written on this system for a folder the code page cannot name.
    ASSERT_TRUE(file.write("Reports", "Directory", "/home/Müller/отчеты"));
    EXPECT_EQ(readFile(path),
              "[Reports]\r\nDirectory=/home/M\xC3\xBCller/"
              "\xD0\xBE\xD1\x82\xD1\x87\xD0\xB5\xD1\x82\xD1\x8B\r\n");
    EXPECT_EQ(ProfileFile(path).read("Reports", "Directory", "", 499), "/home/Müller/отчеты");

    // Windows-1251 bytes that are not valid UTF-8, among them a lone lead
    // byte (0xD0 "Р") and a lone continuation byte (0x98).
    writeFile(path, "[Reports]\r\nArt=\xD0.dat\r\nOtd=\xE0\x98\r\nGrp=ab\r\n");
    const ProfileFile cp1251(path);
    EXPECT_EQ(cp1251.read("Reports", "Art", "", 499), "Р.dat");
    EXPECT_EQ(cp1251.read("Reports", "Otd", "", 499), QString("а") + QChar(0x98));
    EXPECT_EQ(cp1251.read("Reports", "Grp", "", 499), "ab");
}

TEST_F(ProfileFileTest, SkipsAByteOrderMarkOnReadingAndKeepsItOnWriting) {
    writeFile(path,
              "\xEF\xBB\xBF[Ports]\r\nCOM2=/dev/ttyUSB1\r\n[Communication]\r\nSpeed=9600\r\n");
    EXPECT_EQ(file.read("Ports", "COM2", "", 499), "/dev/ttyUSB1");
    ASSERT_TRUE(file.write("Ports", "COM2", "/dev/ttyUSB2"));
    ASSERT_TRUE(file.write("Communication", "Speed", "4800"));
    EXPECT_EQ(readFile(path),
              "\xEF\xBB\xBF[Ports]\r\nCOM2=/dev/ttyUSB2\r\n[Communication]\r\nSpeed=4800\r\n");
}

TEST_F(ProfileFileTest, ReadsTheFileOnceAndWritesThroughWhatItRead) {
    writeFile(path, "[Communication]\r\nSpeed=9600\r\nSerialPort=COM2\r\n");
    EXPECT_EQ(file.read("Communication", "Speed", "", 9), "9600");
    // Changed behind the object's back: it goes on with what it read first.
    writeFile(path, "[Communication]\r\nSpeed=19200\r\nSerialPort=COM3\r\n");
    EXPECT_EQ(file.read("Communication", "SerialPort", "", 9), "COM2");
    ASSERT_TRUE(file.write("TypeECR", "ECR", "0"));
    EXPECT_EQ(readFile(path),
              "[Communication]\r\nSpeed=9600\r\nSerialPort=COM2\r\n[TypeECR]\r\nECR=0\r\n");
    EXPECT_EQ(file.read("TypeECR", "ECR", "", 9), "0");
}

TEST_F(ProfileFileTest, ReportsAFileThatCannotBeWritten) {
    ProfileFile nowhere(dir.filePath("missing/Tabulon.ini"));
    EXPECT_FALSE(nowhere.write("Communication", "Speed", "4800"));
}

}  // namespace
}  // namespace tabulon::settings
