#include "disk/safe_save.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "disk/input_file.h"
#include "disk/same_file.h"
#include "support/file_bytes.h"

namespace tabulon::disk {
namespace {

using testing::readFile, testing::writeFile;

const QByteArray kEarlier = QByteArray("the earlier file\r\n").repeated(600);

struct Attempt {
    bool committed = false;
    QString reason;
};

// Saves `contents` in `chunk`-byte writes from a child process whose files
// may not grow past `limit` bytes: the system then refuses the bytes past
// it, as a full disk does, without needing one.
Attempt saveUnderSizeLimit(const QString& path, const QByteArray& contents, int chunk,
                           rlim_t limit) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {false, "no pipe"};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &size);
        SafeSave save(path);
        QByteArray said = "0";
        if (save.open()) {
            for (qsizetype at = 0; at < contents.size(); at += chunk)
                save.device().write(contents.mid(at, chunk));
            said = save.commit() ? "1" : "0" + save.errorString().toUtf8();
        } else {
            said += "open: " + save.errorString().toUtf8();
        }
        [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    QByteArray said;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (said.isEmpty()) return {false, "the child said nothing"};
    return {said.front() == '1', QString::fromUtf8(said.mid(1))};
}

// Where the limit cuts the new contents decides which of Qt's paths sees the
// refusal: a write, a flush inside the writes, or only the last flush at
// the commit.
TEST(SafeSave, ReplacesTheFileOnlyWhenEveryByteIsOnTheDisk) {
    struct Row {
        const char* what;
        int size;
        int chunk;
        rlim_t limit;
        bool committed;
    };
    const Row rows[] = {
        {"fits well", 3000, 100, 64 * 1024, true},
        {"fits exactly", 8192, 64, 8192, true},
        {"one byte over, in the buffer the commit flushes", 8193, 64, 8192, false},
        {"over, in the last of many flushes", 70000, 100, 64 * 1024, false},
        {"over, in one large write", 200000, 200000, 64 * 1024, false},
        {"nothing fits", 50, 50, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir directory;
        const QString path = directory.filePath("goods.art");
        writeFile(path, kEarlier);
        QByteArray contents(row.size, 'x');
        for (int i = 0; i < row.size; i += 97) contents[i] = '\n';

        const Attempt attempt = saveUnderSizeLimit(path, contents, row.chunk, row.limit);

        EXPECT_EQ(attempt.committed, row.committed) << attempt.reason.toStdString();
        EXPECT_EQ(readFile(path), row.committed ? contents : kEarlier);
        EXPECT_EQ(attempt.reason, row.committed ? "" : "File too large");
        // No temporary is left beside it either way.
        EXPECT_EQ(QDir(directory.path()).entryList(QDir::Files), QStringList{"goods.art"});
    }
}

TEST(SafeSave, SaysWhyWhenTheFileCannotBeCreatedOrWasCancelled) {
    QTemporaryDir directory;
    SafeSave nowhere(directory.filePath("no such folder/goods.art"));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.errorString().isEmpty());
    EXPECT_FALSE(nowhere.commit());
    EXPECT_FALSE(QDir(directory.filePath("no such folder")).exists());

    const QString path = directory.filePath("logo.bmp");
    writeFile(path, kEarlier);
    {
        SafeSave dropped(path);
        ASSERT_TRUE(dropped.open());
        dropped.device().write("new");
        // Leaving without a commit is a cancel.
    }
    EXPECT_EQ(readFile(path), kEarlier);
    EXPECT_EQ(QDir(directory.path()).entryList(QDir::Files), QStringList{"logo.bmp"});
}

// What a reader is given: one file under two names, and names of no file to read.
TEST(SameFile, ByTheFileWhereBothAreThereElseByThePath) {
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    for (const QString name : {"prices.otd", "other.otd"})
        ASSERT_TRUE(QFile(path(name)).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(path("prices.otd"), path("link.otd")));
    ASSERT_EQ(::link(QFile::encodeName(path("prices.otd")), QFile::encodeName(path("hard.otd"))),
              0);
    const struct {
        QString first, second;
        bool same;
    } rows[] = {
        {path("prices.otd"), path("link.otd"), true},
        {path("hard.otd"), directory.path() + "/./prices.otd", true},
        {path("prices.otd"), path("other.otd"), false},
        {path("new.csv"), directory.path() + "/./new.csv", true},  // neither made yet
        {path("new.csv"), path("prices.otd"), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(sameFile(row.first, row.second), row.same) << qPrintable(row.first);
}

TEST(ReadWholeFile, ARegularFileUpToTheLimitNothingElse) {
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    for (const auto& [name, size] : {std::pair{"limit", 1 << 20}, {"over", (1 << 20) + 1}})
        ASSERT_TRUE(QFile(path(name)).open(QIODevice::WriteOnly) &&
                    QFile::resize(path(name), size));
    // A pipe with no writer: opening it to read would wait for one for good.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")), 0600), 0);
    const QString device = "not a regular file (a device or a pipe)";
    const struct {
        QString path;
        qsizetype size;
        QString error;
    } rows[] = {
        {path("limit"), 1 << 20, ""},
        {path("over"), 0, "larger than 1 MiB, more than any such file holds"},
        {"/dev/zero", 0, device},
        {path("pipe"), 0, device},
        {directory.path(), 0, "a folder, not a file"},
    };
    for (const auto& row : rows) {
        const WholeFile whole = readWholeFile(row.path, kMebibyte);
        EXPECT_EQ(whole.error, row.error) << qPrintable(row.path);
        EXPECT_EQ(whole.bytes, QByteArray(row.size, '\0')) << qPrintable(row.path);
    }
}

}  // namespace
}  // namespace tabulon::disk
