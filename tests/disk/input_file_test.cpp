// What the readers of files are given: one file under two names, and names
// that are no file to read.
#include "disk/input_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "disk/same_file.h"

namespace tabulon::disk {
namespace {

TEST(SameFile, ByTheFileWhereBothAreThereElseByThePath) {
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    for (const QString name : {"prices.otd", "other.otd"}) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(path("prices.otd"), path("link.otd")));
    ASSERT_EQ(::link(QFile::encodeName(path("prices.otd")), QFile::encodeName(path("hard.otd"))),
              0);
    const struct {
        QString first, second;
        bool same;
    } rows[] = {
        {path("prices.otd"), path("prices.otd"), true},
        {path("prices.otd"), path("link.otd"), true},
        {path("hard.otd"), path("prices.otd"), true},
        {directory.path() + "/./prices.otd", path("prices.otd"), true},
        {path("prices.otd"), path("other.otd"), false},
        // Not there yet: the same name or another.
        {path("new.csv"), directory.path() + "/./new.csv", true},
        {path("new.csv"), path("new2.csv"), false},
        {path("new.csv"), path("prices.otd"), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(sameFile(row.first, row.second), row.same)
            << qPrintable(row.first + " " + row.second);
}

TEST(ReadWholeFile, ARegularFileUpToTheLimitNothingElse) {
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    for (const auto& [name, size] :
         {std::pair{"small", 5}, {"limit", 1 << 20}, {"over", (1 << 20) + 1}}) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size);
    }
    // A pipe with no writer: opening it to read would wait for one for good.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")), 0600), 0);
    const QString device = "not a regular file (a device or a pipe)";
    const struct {
        QString path;
        qsizetype size;
        QString error;
    } rows[] = {
        {path("small"), 5, ""},
        {path("limit"), 1 << 20, ""},
        {path("over"), 0, "larger than 1 MiB, more than any such file holds"},
        {"/dev/zero", 0, device},
        {"/dev/urandom", 0, device},
        {path("pipe"), 0, device},
        {directory.path(), 0, "a folder, not a file"},
        {path("none"), 0, "No such file or directory"},
    };
    for (const auto& row : rows) {
        const WholeFile whole = readWholeFile(row.path, kMebibyte);
        EXPECT_EQ(whole.error, row.error) << qPrintable(row.path);
        EXPECT_EQ(whole.bytes, QByteArray(row.size, 'x')) << qPrintable(row.path);
    }
}

}  // namespace
}  // namespace tabulon::disk
