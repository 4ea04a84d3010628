// How tabulon-cli's table commands end when the register does what a program
// run against tabulon-sim cannot make it do at a chosen moment: a read-back
// that fails, a reply that cannot go into a file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <utility>

#include "in_process.h"
#include "run_outcome_files.h"
#include "support/qt_print.h"
#include "text/cp1251.h"

namespace tabulon::cli {
namespace {

using namespace testing;

// Department 3 reads back "E" replies only (ten series of ten for a skip).
TEST(TableRuns, AReadBackThatFailsLeavesTheRecordWrittenButNotVerified) {
    QTemporaryDir directory;
    QStringList departments;
    for (int i = 1; i <= 20; ++i) departments << QStringLiteral("Склад %1;").arg(i);
    writeFile(directory.filePath("d.otd"), cp1251Lines(departments));
    writeFile(directory.filePath("c.pak"), cp1251Lines({"1;2;3;4;5;6;7;8;9;10;11;12;"}));
    writeFile(directory.filePath("u.otd"), (departments.join("\r\n") + "\r\n").toUtf8());
    const QString refused =
        "record %1 failed ten times: the register refused the record (\"E\" reply)";
    const struct {
        QStringList arguments;
        QByteArray failingRead;
        QString output;
        QString error;
        QStringList messages;
        bool portGoes = false;  // for good, at the failing command
    } cases[] = {
        {{"--on-failure", "skip", "write-table", "departments", directory.filePath("d.otd")},
         "R10;3;",
         "departments: 20 records written\n",
         "records written, not verified: 3",
         {refused.arg(3) + "; skipped"}},
        {{"write-table", "departments", directory.filePath("d.otd")},
         "R10;3;",
         "departments: 3 of 20 records written\n",
         "stopped: 17 records not tried\nrecords written, not verified: 3",
         {refused.arg(3)}},
        {{"write-table", "departments", directory.filePath("u.otd")},
         "R10;3;",
         "departments: 3 of 20 records written\n",
         "stopped: 17 records not tried\nrecords written, not verified: 3",
         {directory.filePath("u.otd") + ": read as UTF-8 (its bytes are not Windows-1251 text)",
          refused.arg(3)}},
        {{"write-table", "cash", directory.filePath("c.pak")},
         "R2;1;",
         "cash: written\n",
         "record 1 written, not verified",
         {refused.arg(1)}},
        {{"--on-failure", "skip", "write-table", "departments", directory.filePath("d.otd")},
         cp1251("W10;3;Склад 3;"),
         "departments: 2 of 20 records written\n",
         "stopped: 17 records not tried\nrecords not written: 3",
         {"record 3 not sent: the port is not open; the run ends there"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command == c.failingRead && c.portGoes) sim.line->failOpen("gone");
            if (command == c.failingRead && c.portGoes) sim.link->ClosePort(1);
            if (command == c.failingRead && !c.portGoes) return QByteArray("E0;");
            return std::nullopt;
        });
        const InProcessRun run =
            runInProcess(sim, QStringList{"--model", "neon", "--verify"} + c.arguments);
        EXPECT_EQ(run.result.status, kExitFailed);
        EXPECT_EQ(run.result.output, c.output);
        EXPECT_EQ(run.result.error, c.error);
        EXPECT_EQ(run.messages, c.messages);
    }
}

// A reply with a tab in it cannot go into a table file.
TEST(TableRuns, AReadWhoseFileCannotBeWrittenStillTellsWhatWasRead) {
    QTemporaryDir directory;
    const struct {
        QString table;
        QByteArray command;
        QByteArray reply;
        QString output;
        QString detail;
    } cases[] = {
        {"departments", "R10;5;", cp1251("10;5;Від\tділ;"), "departments: 20 records read\n",
         "Строка 5, значение 1: управляющий символ U+0009."},
        {"cash", "R2;1;", "2;1;1;2\t;3;", "cash: read\n",
         "Строка 1, значение 2: управляющий символ U+0009."},
    };
    for (const auto& c : cases) {
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command == c.command) return c.reply;
            return std::nullopt;
        });
        const QString file = directory.filePath(c.table);
        const InProcessRun run =
            runInProcess(sim, {"--model", "neon", "read-table", c.table, file});
        EXPECT_EQ(run.result.status, kExitFailed);
        EXPECT_EQ(run.result.output, c.output);
        EXPECT_EQ(run.result.error, file + ": not written: " + c.detail);
        EXPECT_FALSE(QFile::exists(file));
    }
}

// Department 1 fails its first series (a hundred "E" replies) and is skipped.
TEST(TableRuns, RowsAReadDoesNotComeToKeepTheEarlierFile) {
    QTemporaryDir directory;
    const QString file = directory.filePath("departments.otd");
    QStringList read{";"};
    for (int i = 2; i <= 20; ++i) read << QStringLiteral("Відділ %1;").arg(i);
    QStringList earlier;
    for (int i = 1; i <= 20; ++i) earlier << QStringLiteral("Склад %1;").arg(i);
    QStringList kept = read;
    kept[0] = "Склад 1;";

    const struct {
        std::optional<QByteArray> before;
        QStringList after;
        QString notRead;
    } cases[] = {
        {std::nullopt, read, "records not read: 1"},
        {cp1251Lines(earlier), kept, "records not read: 1; their rows are as in the earlier file"},
        // Nineteen lines: not a departments file.
        {cp1251Lines(earlier.mid(1)), read,
         "records not read: 1; their rows are empty: the earlier file does not hold the table"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notRead.toStdString());
        QFile::remove(file);
        if (c.before) writeFile(file, *c.before);
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->faults().errorReplies = sim::Fault::times(100);
        const InProcessRun run = runInProcess(
            sim, {"--model", "neon", "--on-failure", "skip", "read-table", "departments", file});
        EXPECT_EQ(run.result.status, kExitFailed);
        EXPECT_EQ(run.result.output, "departments: 19 of 20 records read into " + file + "\n");
        EXPECT_EQ(run.result.error, c.notRead);
        EXPECT_EQ(readFile(file), cp1251Lines(c.after));
    }

    // Goods outside an interval are not read either: they keep their lines.
    const QString goods = directory.filePath("goods.art");
    QStringList lines(10000, "9;Товар;1.00;1.000;1;1;1;1;0;0;");
    writeFile(goods, cp1251Lines(lines));
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
    const InProcessRun run =
        runInProcess(sim, {"--model", "neon", "--interval", "3:4:1", "read-table", "goods", goods});
    EXPECT_EQ(run.result.status, kExitDone) << qPrintable(run.result.error);
    EXPECT_EQ(commandTexts(sim), (QStringList{"R0;1;", "R0;2;"}));
    lines[2] = "1;Хліб білий;12.50;100.000;1;1;1;1;0;4820000000001;";
    lines[3] = "2;Батон нарізний;14.00;100.000;1;1;1;1;0;4820000000002;";
    EXPECT_EQ(readFile(goods), cp1251Lines(lines));
}

// An interval reads some rows; the others come from the earlier file. One
// that does not hold the table has no rows to give: replacing it would lose
// every row outside the interval, so nothing is read and it stays as it was.
TEST(TableRuns, AnIntervalReadOverAFileThatIsNoWholeTableIsRefused) {
    QTemporaryDir directory;
    const QString goods = directory.filePath("goods.art");
    const QStringList lines(10000, "9;Товар;1.00;1.000;1;1;1;1;0;0;");
    QStringList longLine = lines;
    longLine[6] = "9;" + QString(200, u'Я') + ";1.00;1.000;1;1;1;1;0;0;";
    QStringList shortLine = lines;
    shortLine[8] = "9;Товар;1.00;";
    const QString expected = "goods files for Neon have 10000 lines of 10 values";
    const struct {
        QByteArray earlier;
        QString problem;
    } cases[] = {
        // A goods file of the Datecs MP-50 Junior.
        {cp1251Lines(lines.mid(0, 5000)), goods + ": the lines end after line 5000; " + expected},
        {cp1251Lines(longLine),
         goods + ": line 7 is longer than 198 bytes and would be read as two lines"},
        {cp1251Lines(shortLine), goods + ": line 9 has too few values; " + expected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem.toStdString());
        writeFile(goods, c.earlier);
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        const InProcessRun run = runInProcess(
            sim, {"--model", "neon", "--interval", "3:4:1", "read-table", "goods", goods});
        EXPECT_EQ(run.result.status, kExitUsage);
        EXPECT_EQ(run.result.output, "");
        EXPECT_EQ(run.result.error,
                  c.problem + "\nthe rows outside --interval would be lost; nothing was read");
        EXPECT_EQ(commandTexts(sim), QStringList());
        EXPECT_EQ(readFile(goods), c.earlier);
    }
}

}  // namespace
}  // namespace tabulon::cli
