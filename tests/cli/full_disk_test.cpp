// Every file tabulon-cli writes, onto a disk that fills up: the command
// fails with the system's reason and the earlier file stays byte for byte.
// A file size limit in the child process stands in for the full disk.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <csignal>

#include "support/cli_process.h"

namespace {

CliRun cliOnAFullDisk(const QStringList& arguments, rlim_t bytes) {
    QProcess process;
    process.setChildProcessModifier([bytes] {
        // Ignored, the signal becomes a write error the program sees.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(QStringLiteral(TABULON_CLI_PATH), arguments);
    if (!process.waitForFinished(120000)) return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(FullDisk, AFileThatDoesNotFitLeavesTheEarlierOneAndSaysWhy) {
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    struct Row {
        QStringList command;
        QString file;
        rlim_t limit;
        QString output;  // what was read; never that a file holds it
        QString error;   // with the file's path for %1
        QByteArray earlier = QByteArray("kept as it was\r\n").repeated(300);
    };
    const Row rows[] = {
        {{"read-logo", path("logo.bmp")},
         "logo.bmp",
         2048,
         "",
         "%1: not written: File too large\n"},
        {{"--interval", "1:3:1", "read-table", "goods", path("goods.art")},
         "goods.art",
         64 * 1024,
         "goods: 3 records read\n",
         "%1: not written: File too large\n",
         // The rows outside the interval come from it: a whole goods table.
         cp1251Lines(emptyLines(10000, 10))},
        {{"read-table", "operators", path("operators.opr")},
         "operators.opr",
         100,
         "operators: 20 records read\n",
         "%1: not written: File too large\n"},
        // A trace onto a device that is always full: told once, the run goes on.
        {{"--trace", "/dev/full", "read-table", "operators", path("operators.opr")},
         "operators.opr",
         100,
         "operators: 20 records read\n",
         "tabulon-cli: --trace /dev/full: cut short here: No space left on device\n"
         "%1: not written: File too large\n"},
        {{"reports", "--dir", directory.path(), "--only", "grp"},
         "RepGrp.dat",
         1024,
         "",
         "%1: not written: File too large\n"},
    };
    SimProcess ecr({});
    ASSERT_FALSE(ecr.path().isEmpty());
    for (const Row& row : rows) {
        SCOPED_TRACE(qPrintable(row.command.join(' ')));
        writeFile(path(row.file), row.earlier);

        const CliRun run = cliOnAFullDisk(on(ecr, row.command), row.limit);

        EXPECT_EQ(run.status, 1) << qPrintable(run.out + run.err);
        EXPECT_EQ(run.out, row.output);
        EXPECT_EQ(run.err, row.error.arg(path(row.file)));
        EXPECT_EQ(readFile(path(row.file)), row.earlier);
        // Nor is a temporary left beside it.
        EXPECT_EQ(QDir(directory.path()).entryList(QDir::Files).size(), qsizetype(1));
        QFile::remove(path(row.file));
    }
}

}  // namespace
