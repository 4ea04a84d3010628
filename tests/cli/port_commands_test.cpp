#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "support/cli_process.h"

// `ports`, `scan` and the texts of a port that does not open, with
// tabulon-cli run as a program against tabulon-sim on pseudo-terminals.

namespace {

// A working directory whose Tabulon.ini maps COM names to devices.
class MappedPorts {
public:
    explicit MappedPorts(const QMap<int, QString>& ports) {
        QByteArray ini = "[Ports]\r\n";
        for (auto it = ports.begin(); it != ports.end(); ++it)
            ini += "COM" + QByteArray::number(it.key()) + '=' + it.value().toLocal8Bit() + "\r\n";
        writeFile(dir_.filePath("Tabulon.ini"), ini);
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST(CliScan, FindsTheOneRegisterThatAnswersAndNothingElse) {
    SimProcess silent({"--silent"});
    SimProcess ecr({"--model", "mp-550t", "--register", "3"});
    ASSERT_FALSE(silent.path().isEmpty());
    ASSERT_FALSE(ecr.path().isEmpty());
    const MappedPorts ports({{1, silent.path()}, {2, ecr.path()}});

    // Every register number 1 to 5 on both ports, at one speed.
    const CliRun scan = cli(
        {"--ports", "COM1,COM2", "--speeds", "115200", "--all", "--quiet", "scan"}, ports.path());
    EXPECT_EQ(scan.status, 0) << qPrintable(scan.err);
    EXPECT_EQ(scan.out, "COM2 (" + ecr.path() + ") speed 115200 register 3\n");
    EXPECT_EQ(scan.err, "");
}

TEST(CliScan, StopsAtTheFirstFindAndTriesTheSpeedsInTurn) {
    SimProcess ecr({"--speed", "9600"});
    const MappedPorts ports({{4, ecr.path()}});

    // At 4800 the register hears nothing; at 9600 number 2 answers, and
    // number 3, which would answer too, is not tried.
    const CliRun scan = cli(
        {"--ports", "COM4", "--speeds", "4800,9600", "--registers", "2-3", "scan"}, ports.path());
    EXPECT_EQ(scan.status, 0) << qPrintable(scan.err);
    EXPECT_EQ(scan.out, "COM4 (" + ecr.path() + ") speed 9600 register 2\n");
}

TEST(CliScan, APortThatDoesNotOpenIsToldAndTheScanGoesOn) {
    SimProcess silent({"--silent"});
    const CliRun scan = cli({"--ports", "/dev/tabulon-no-such-port," + silent.path(), "--speeds",
                             "115200", "--registers", "1", "scan"});
    EXPECT_EQ(scan.status, 1);
    EXPECT_EQ(scan.out, "");
    EXPECT_EQ(scan.err, "/dev/tabulon-no-such-port does not exist\nno register answered\n");
}

TEST(CliScan, WrongNarrowings) {
    const struct {
        QStringList arguments;
        QString error;
    } cases[] = {
        {{"--speeds", "57600", "scan"},
         "tabulon-cli: --speeds takes speeds of 4800, 9600, 14400, 19200, 28800, 38400, 56000, "
         "57700, 115200, separated by commas (see --help)\n"},
        {{"--registers", "0-5", "scan"},
         "tabulon-cli: --registers takes numbers 1 to 99 and ranges (1-5,7) (see --help)\n"},
        {{"--registers", "5-1", "scan"},
         "tabulon-cli: --registers takes numbers 1 to 99 and ranges (1-5,7) (see --help)\n"},
        {{"--ports", "ttyS0", "scan"},
         "tabulon-cli: --ports takes COM1 to COM9 or device paths, separated by commas (see "
         "--help)\n"},
        {{"--all", "detect"}, "tabulon-cli: --all does not go with detect (see --help)\n"},
        {{"--speeds", "9600", "ports"},
         "tabulon-cli: --speeds does not go with ports (see --help)\n"},
    };
    for (const auto& mistake : cases) {
        const CliRun run = cli(mistake.arguments);
        EXPECT_EQ(run.status, 2) << qPrintable(mistake.arguments.join(' '));
        EXPECT_EQ(run.err, mistake.error);
    }
}

TEST(CliPorts, ListsTheNineNamesWithTheSettingsEntry) {
    const MappedPorts ports({{2, "/dev/tabulon-test-port"}});
    const CliRun list = cli({"ports"}, ports.path());
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.err, "");
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 9) << qPrintable(list.out);
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("COM%1  ").arg(i + 1)))
            << qPrintable(lines[i]);
    EXPECT_TRUE(QRegularExpression("^COM2  /dev/tabulon-test-port *  \\[Ports\\]$")
                    .match(lines[1])
                    .hasMatch())
        << qPrintable(lines[1]);
}

TEST(CliPortFailures, MissingDeviceNamesWhatTheComNameStandsFor) {
    const MappedPorts ports({{3, "/dev/tabulon-no-such-port"}});
    const CliRun run = cli({"--port", "COM3", "detect"}, ports.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "COM3 is /dev/tabulon-no-such-port ([Ports] of Tabulon.ini), and there is "
              "no such device: plug the adapter in or correct the entry\n");
}

TEST(CliPortFailures, APortAnotherProgramHoldsIsBusy) {
    SimProcess silent({"--silent", "--log"});
    // The first detect holds the port for seconds while nobody answers.
    QProcess first;
    first.start(QStringLiteral(TABULON_CLI_PATH),
                {"--port", silent.path(), "--register", "1", "detect"});
    ASSERT_TRUE(first.waitForStarted());
    // Wait until it has the port open.
    const auto holds = [&] {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(first.processId()));
        for (const QString& fd : fds.entryList(QDir::System | QDir::Files))
            if (QFile::symLinkTarget(fds.filePath(fd)) == silent.path()) return true;
        return false;
    };
    const QDeadlineTimer deadline(20000);
    bool open = holds();
    while (!open && !deadline.hasExpired()) {
        QThread::msleep(20);
        open = holds();
    }
    ASSERT_TRUE(open);
    const CliRun second = cli({"--port", silent.path(), "detect"});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, QStringLiteral("%1 is busy: tabulon-cli, PID %2 holds it; close "
                                         "it and try again\n")
                              .arg(silent.path())
                              .arg(first.processId()));
    first.kill();
    first.waitForFinished();
}
