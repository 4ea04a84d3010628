// How tabulon-cli's table commands end when a signal comes in the middle of
// an exchange, at a moment only a simulated register can choose.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <utility>

#include "in_process.h"
#include "run_outcome_files.h"
#include "support/qt_print.h"
#include "text/cp1251.h"

namespace tabulon::cli {
namespace {

using namespace testing;

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
        if (!c.line.isEmpty()) writeFile(file, cp1251Lines({c.line}));
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
    writeFile(directory.filePath("d.otd"), cp1251Lines(departments));
    writeFile(directory.filePath("c.pak"), cp1251Lines({"1;2;3;4;5;6;7;8;9;10;11;12;"}));
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
        {{"read-logo", file},
         {},
         "R136;1;",
         "",
         "logo: stopped by a signal before record 1\n" + file + " not written"},
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
        // A report cut short is not put in place of an earlier one.
        {{"reports", "--dir", directory.path(), "--only", "otd"},
         {"R74;1;", "R74;2;"},
         "R74;3;",
         "",
         "stopped by a signal\n" + directory.filePath("RepOtd.dat") + " not written"},
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
        // A logo is the same on every model: read-logo takes none.
        const bool logo = c.arguments[0] == "read-logo";
        const InProcessRun run = runInProcess(
            sim, (logo ? QStringList() : QStringList{"--model", "neon"}) + c.arguments);
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
        EXPECT_FALSE(QFile::exists(directory.filePath("RepOtd.dat")));
    }
}

}  // namespace
}  // namespace tabulon::cli
