// How tabulon-cli's table commands end when the register does what a program
// run against tabulon-sim cannot make it do at a chosen moment: a signal in
// the middle of an exchange, a read-back that fails, a reply that cannot go
// into a file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <utility>

#include "in_process.h"
#include "text/cp1251.h"
#include "transfer/qt_print.h"

namespace tabulon::cli {
namespace {

using testing::InProcessRun;
using testing::runInProcess;

QByteArray cp1251(const QString& text) {
    return text::toCp1251(text).value();
}

QByteArray fileOf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += cp1251(line) + "\r\n";
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

QStringList commandTexts(const sim::SimulatedLink& sim) {
    QStringList texts;
    for (const QByteArray& command : sim.ecr->commands()) texts << text::fromCp1251(command);
    return texts;
}

// A signal that reaches these handlers was not caught by the command: the
// program would have died in the middle of the exchange.
std::atomic<int> uncaughtSignals{0};
void noteUncaught(int) {
    ++uncaughtSignals;
}

class SignalGuard {
public:
    SignalGuard() {
        uncaughtSignals = 0;
        struct sigaction action {};
        action.sa_handler = noteUncaught;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &interrupt_);
        sigaction(SIGTERM, &action, &terminate_);
    }
    ~SignalGuard() {
        sigaction(SIGINT, &interrupt_, nullptr);
        sigaction(SIGTERM, &terminate_, nullptr);
    }

private:
    struct sigaction interrupt_ {};
    struct sigaction terminate_ {};
};

// FF×n DC3 DC3 FF×m
QByteArray release(int before, int after) {
    return QByteArray(before, '\xFF') + "\x13\x13" + QByteArray(after, '\xFF');
}

TEST(ParameterSets, ASignalEndsTheCommandAfterTheExchangeInHandAndReleasesTheRegisters) {
    QTemporaryDir directory;
    const QString file = directory.filePath("set");
    const struct {
        QStringList arguments;
        QString line;  // of the file written
        QByteArray signalAt;
        int signal;
        QStringList commands;
        QString output;
        QString error;
    } cases[] = {
        {{"read-table", "cash", file},
         "",
         "R2;1;",
         SIGINT,
         {"R2;1;"},
         "cash: read\n",
         "stopped by a signal\n" + file + " not written"},
        // The record is read first for Edit36; the signal comes before the
        // write, and nothing is written.
        {{"write-table", "service", file},
         "1;2;3;4;5;6;7;8;9;10;;",
         "R8;1;",
         SIGTERM,
         {"R8;1;"},
         "",
         "stopped by a signal\nrecord 1 not written"},
        {{"write-table", "cash", file},
         "31;32;33;34;35;36;37;38;39;40;41;42;",
         "W2;1;31;32;33;34;35;36;37;38;39;40;41;42;",
         SIGTERM,
         {"W2;1;31;32;33;34;35;36;37;38;39;40;41;42;"},
         "cash: written\n",
         "stopped by a signal"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QFile::remove(file);
        if (!c.line.isEmpty()) writeFile(file, fileOf({c.line}));
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command == c.signalAt) std::raise(c.signal);
            return std::nullopt;
        });
        const SignalGuard guard;
        const InProcessRun run = runInProcess(sim, QStringList{"--model", "neon"} + c.arguments);
        EXPECT_EQ(uncaughtSignals, 0);
        EXPECT_EQ(run.result.status, kExitFailed);
        EXPECT_EQ(run.result.output, c.output);
        EXPECT_EQ(run.result.error, c.error);
        EXPECT_EQ(commandTexts(sim), c.commands);
        // The exchange's own release, then "Стоп"'s, then the closing one.
        const QByteArray sent = sim.line->sent();
        EXPECT_TRUE(sent.endsWith(release(8, 8) + release(8, 8)));
        EXPECT_FALSE(sim.ecr->isSelected());
        EXPECT_FALSE(sim.link->isOpen());
        if (c.arguments[0] == "read-table") {
            EXPECT_FALSE(QFile::exists(file));
        }
    }
}

// The register refuses the record in hand, and the signal comes with its
// first refusal: the command ends after that exchange (whose link sends the
// refused frame ten times), not after the nine more exchanges a failing
// record is given, which on a silent line take a quarter of a minute: long
// enough for a second Ctrl-C, which ends the program on the spot.
TEST(TableRuns, ASignalDuringAFailingRecordEndsTheCommandAfterThatExchange) {
    QTemporaryDir directory;
    const QString file = directory.filePath("set");
    QStringList departments;
    for (int i = 1; i <= 20; ++i) departments << QStringLiteral("Склад %1;").arg(i);
    writeFile(directory.filePath("d.otd"), fileOf(departments));
    writeFile(directory.filePath("c.pak"), fileOf({"1;2;3;4;5;6;7;8;9;10;11;12;"}));
    const struct {
        QStringList arguments;
        QStringList before;  // the commands taken before it
        QString refused;     // the command the register refuses
        QString output;
        QString error;
    } cases[] = {
        {{"write-table", "cash", directory.filePath("c.pak")},
         {},
         "W2;1;1;2;3;4;5;6;7;8;9;10;11;12;",
         "",
         "stopped by a signal\nrecord 1 not written"},
        {{"read-table", "receipt", file},
         {},
         "R5;1;",
         "",
         "stopped by a signal\nrecord 1 not read\n" + file + " not written"},
        {{"--on-failure", "skip", "write-table", "departments", directory.filePath("d.otd")},
         {"W10;1;Склад 1;", "W10;2;Склад 2;"},
         "W10;3;Склад 3;",
         "departments: 2 of 20 records written\n",
         "stopped by a signal: 17 records not tried\nrecords not written: 3"},
        {{"clear-table", "departments"},
         {"W10;1;Відділ 1;", "W10;2;Відділ 2;"},
         "W10;3;Відділ 3;",
         "departments: 2 of 20 records cleared\n",
         "stopped by a signal: 17 records not tried\nrecords not cleared: 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QFile::remove(file);
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        bool raised = false;
        sim.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (text::fromCp1251(command.toByteArray()) != c.refused) return std::nullopt;
            if (!std::exchange(raised, true)) std::raise(SIGINT);
            return QByteArray("E0;");
        });
        const SignalGuard guard;
        const InProcessRun run = runInProcess(sim, QStringList{"--model", "neon"} + c.arguments);
        EXPECT_EQ(uncaughtSignals, 0);
        EXPECT_EQ(run.result.status, kExitFailed);
        EXPECT_EQ(run.result.output, c.output);
        EXPECT_EQ(run.result.error, c.error);
        EXPECT_EQ(commandTexts(sim), c.before + QStringList(10, c.refused));
        // Not asked about: the record was given up with the signal.
        EXPECT_EQ(run.messages, QStringList());
        EXPECT_FALSE(sim.ecr->isSelected());
        EXPECT_FALSE(sim.link->isOpen());
        EXPECT_FALSE(QFile::exists(file));
    }
}

// Department 3 reads back "E" replies only (ten series of ten for a skip).
TEST(TableRuns, AReadBackThatFailsLeavesTheRecordWrittenButNotVerified) {
    QTemporaryDir directory;
    QStringList departments;
    for (int i = 1; i <= 20; ++i) departments << QStringLiteral("Склад %1;").arg(i);
    writeFile(directory.filePath("d.otd"), fileOf(departments));
    writeFile(directory.filePath("c.pak"), fileOf({"1;2;3;4;5;6;7;8;9;10;11;12;"}));
    const QString refused =
        "record %1 failed ten times: error -15: the register refused the record (\"E\" reply)";
    const struct {
        QStringList arguments;
        QByteArray failingRead;
        QString output;
        QString error;
        QStringList messages;
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
        {{"write-table", "cash", directory.filePath("c.pak")},
         "R2;1;",
         "cash: written\n",
         "record 1 written, not verified",
         {refused.arg(1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command == c.failingRead) return QByteArray("E0;");
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
        {fileOf(earlier), kept, "records not read: 1; their rows are as in the earlier file"},
        // Nineteen lines: not a departments file.
        {fileOf(earlier.mid(1)), read,
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
        EXPECT_EQ(readFile(file), fileOf(c.after));
    }

    // Goods outside an interval are not read either: they keep their lines.
    const QString goods = directory.filePath("goods.art");
    QStringList lines(10000, "9;Товар;1.00;1.000;1;1;1;1;0;0;");
    writeFile(goods, fileOf(lines));
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
    const InProcessRun run =
        runInProcess(sim, {"--model", "neon", "--interval", "3:4:1", "read-table", "goods", goods});
    EXPECT_EQ(run.result.status, kExitDone) << qPrintable(run.result.error);
    EXPECT_EQ(commandTexts(sim), (QStringList{"R0;1;", "R0;2;"}));
    lines[2] = "1;Хліб білий;12.50;100.000;1;1;1;1;0;4820000000001;";
    lines[3] = "2;Батон нарізний;14.00;100.000;1;1;1;1;0;4820000000002;";
    EXPECT_EQ(readFile(goods), fileOf(lines));
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
        {fileOf(lines.mid(0, 5000)), goods + ": the lines end after line 5000; " + expected},
        {fileOf(longLine),
         goods + ": line 7 is longer than 198 bytes and would be read as two lines"},
        {fileOf(shortLine), goods + ": line 9 has too few values; " + expected},
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
