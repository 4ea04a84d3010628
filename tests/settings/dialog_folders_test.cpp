#include "settings/dialog_folders.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/profile_file.h"
#include "support/file_bytes.h"

namespace tabulon::settings {
namespace {

// Each write leaves the file byte for byte as the program writes its other
// keys: a new section at the end, a key in place, nothing else touched.
TEST(DialogFolders, FoldersAreKeptKeyByKeyInASectionOfTheirOwn) {
    const QByteArray startup =
        "[Communication]\r\nSpeed=4800\r\nSerialPort=COM1\r\n[TypeECR]\r\nECR=0\r\n";
    const struct {
        const char* what;
        QByteArray before;  // null: no file yet
        QList<std::pair<QString, QString>> remembered;
        QByteArray after;
        QString artFolder;  // read back
    } rows[] = {
        {"a first folder",
         startup,
         {{"art", "/home/s/tables"}},
         startup + "[Folders]\r\nart=/home/s/tables\r\n",
         "/home/s/tables"},
        {"two kinds",
         startup,
         {{"art", "/t"}, {"bmp", "/logos"}},
         startup + "[Folders]\r\nart=/t\r\nbmp=/logos\r\n",
         "/t"},
        {"a later folder replaces the key in its place",
         startup + "[Folders]\r\nart=/old\r\nbmp=/b\r\n",
         {{"art", "/new"}},
         startup + "[Folders]\r\nart=/new\r\nbmp=/b\r\n",
         "/new"},
        {"the same folder again writes nothing",
         startup + "[Folders]\r\nART = /t \r\n",
         {{"art", "/t"}},
         startup + "[Folders]\r\nART = /t \r\n",
         "/t"},
        {"Cyrillic in Windows-1251",
         startup,
         {{"art", "/Таблиці"}},
         startup + "[Folders]\r\nart=/\xD2\xE0\xE1\xEB\xE8\xF6\xB3\r\n",
         "/Таблиці"},
        {"no kind, no folder: nothing", startup, {{"", "/t"}, {"art", ""}}, startup, ""},
        {"a folder too long to read back whole",
         startup,
         {{"art", "/" + QString(499, u'x')}},
         startup,
         ""},
        {"blanks at an end or a line break: the folder would read back as another",
         startup + "[Folders]\r\nart=/t\r\n",
         {{"art", "/t/dir "}, {"art", " /t/dir"}, {"art", "/t/a\r\n[Ports]\r\nCOM1=/x"}},
         startup + "[Folders]\r\nart=/t\r\n",
         "/t"},
        {"no file yet", QByteArray(), {{"opr", "/o"}}, "[Folders]\r\nopr=/o\r\n", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tabulon.ini");
        if (!row.before.isNull()) testing::writeFile(path, row.before);
        for (const auto& [kind, folder] : row.remembered)
            rememberFolder(ProfileFile(path), kind, folder);
        EXPECT_EQ(testing::readFile(path), row.after);
        EXPECT_EQ(rememberedFolder(ProfileFile(path), "art"), row.artFolder);
    }
}

}  // namespace
}  // namespace tabulon::settings
