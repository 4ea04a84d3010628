#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/cli_process.h"
#include "support/pseudo_terminal.h"

namespace {

const QByteArray kRelease88 = QByteArray(8, '\xFF') + "\x13\x13" + QByteArray(8, '\xFF');

}  // namespace

TEST(Cli, WriteAndReadBackCyrillicData) {
    SimProcess ecr({"--model", "neon"});
    ASSERT_FALSE(ecr.path().isEmpty());
    const CliRun write = cli(on(ecr, {"write", "operators", "7", "7;Оксана;1;0;"}));
    EXPECT_EQ(write.status, 0) << qPrintable(write.err);
    EXPECT_EQ(write.out, "record 7 of table 3 written\n");
    EXPECT_EQ(write.err, "");

    const CliRun read = cli(on(ecr, {"--register", "1", "read", "3", "7"}));
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(read.out, "3;7;7;Оксана;1;\n");
    EXPECT_EQ(read.err, "");
}

TEST(Cli, DetectsTheRegister) {
    SimProcess ecr({"--model", "mp-550t", "--register", "2"});
    const CliRun found = cli(on(ecr, {"--register", "2", "detect"}));
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "found\n");
}

TEST(Cli, SilentRegister) {
    SimProcess ecr({"--silent"});
    const CliRun write = cli(on(ecr, {"write", "10", "1", "Склад;"}));
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(write.out, "");
    EXPECT_EQ(write.err, "the register did not answer its select sequence\n");
}

TEST(Cli, ErrorRepliesAndBadRegisterNumbers) {
    SimProcess ecr({"--error-replies"});
    const CliRun read = cli(on(ecr, {"read", "10", "1"}));
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.err, "the register refused the record (\"E\" reply)\n");
    EXPECT_EQ(cli(on(ecr, {"write", "10", "1", "x;"})).err, read.err);

    // A command line mistake: refused before the port is opened.
    const CliRun outside = cli(on(ecr, {"--register", "100", "read", "10", "1"}));
    EXPECT_EQ(outside.status, 2);
    EXPECT_EQ(outside.err,
              "tabulon-cli: --register takes a whole number from 1 to 99 (see --help)\n");
}

TEST(Cli, WrongCheckBytesFailAReadButNotAWrite) {
    SimProcess ecr({"--wrong-check-bytes"});
    const CliRun read = cli(on(ecr, {"read", "10", "1"}));
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.out, "");
    EXPECT_EQ(read.err, "check bytes of the reply do not match\n");
    // Inside a run, in the same words.
    const QString out = QDir::temp().filePath("tabulon-check-bytes.otd");
    EXPECT_EQ(cli(on(ecr, {"read-table", "departments", out})).err,
              "record 1 failed ten times: check bytes of the reply do not match\nstopped: 19 "
              "records not tried\nrecords not read: 1\n" +
                  out + " not written\n");
    EXPECT_EQ(cli(on(ecr, {"write", "10", "1", "x;"})).status, 0);
}

TEST(Cli, FillByteInsideAReplyPrintsAsYa) {
    SimProcess ecr({"--fill-inside-lines"});
    const CliRun read = cli(on(ecr, {"read", "10", "1"}));
    QString expected = QStringLiteral("10;1;Відділ 1;");
    expected.insert(expected.size() / 2, u'я');
    expected.insert(1, u'я');
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(read.out, expected + '\n');
}

TEST(Cli, Speeds) {
    SimProcess ecr({"--speed", "57700"});
    const CliRun fast = cli({"--port", ecr.path(), "--speed", "57700", "read", "10", "2"});
    EXPECT_EQ(fast.status, 0) << qPrintable(fast.err);
    EXPECT_EQ(fast.out, "10;2;Відділ 2;\n");

    const CliRun refused = cli({"--port", ecr.path(), "--speed", "57600", "read", "10", "2"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err,
              "tabulon-cli: --speed takes 4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700 "
              "or 115200 (see --help)\n");
}

TEST(Cli, DataOutsideWindows1251SendsNothing) {
    SimProcess ecr({"--log"});
    const CliRun write = cli(on(ecr, {"write", "10", "1", "Склад 日;"}));
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(write.err,
              "error: DATA holds a character that Windows-1251 cannot encode: «日» (U+65E5)\n");
    // The register saw no line settings and no command: the port stayed shut.
    const QString log = ecr.stop();
    EXPECT_FALSE(log.contains("line:")) << qPrintable(log);
    EXPECT_FALSE(log.contains("command:")) << qPrintable(log);
}

TEST(Cli, ComPortsMapThroughTheSettingsFile) {
    SimProcess ecr({});
    QTemporaryDir directory;
    writeFile(directory.filePath("Tabulon.ini"),
              "[Ports]\r\nCOM3=" + ecr.path().toLocal8Bit() + "\r\n");

    const CliRun read = cli({"--port", "COM3", "read", "10", "3"}, directory.path());
    EXPECT_EQ(read.status, 0) << qPrintable(read.err);
    EXPECT_EQ(read.out, "10;3;Відділ 3;\n");
}

TEST(Cli, OnlyTheOperationAndTheReleaseOfClosingGoOnTheLine) {
    PseudoTerminal line;
    const CliRun reset = cli({"--port", line.path(), "reset"});
    EXPECT_EQ(reset.status, 0);
    EXPECT_EQ(line.receive(36), kRelease88 + kRelease88);
    EXPECT_TRUE(line.quiet());

    // Nobody answers: five select sequences, their release, then closing's.
    const CliRun read = cli({"--port", line.path(), "--register", "12", "read", "2", "1"});
    EXPECT_EQ(read.status, 1);
    const QByteArray fill10(10, '\xFF');
    const QByteArray select = fill10 +
                              "\x11\x11"
                              "12" +
                              fill10;
    const QByteArray expected =
        QByteArray(11, '\xFF') + select.repeated(5) + kRelease88 + kRelease88;
    EXPECT_EQ(line.receive(expected.size()), expected);
    EXPECT_TRUE(line.quiet());
}

TEST(Cli, PortThatDoesNotOpen) {
    const CliRun run = cli({"--port", "/dev/tabulon-no-such-port", "detect"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "/dev/tabulon-no-such-port does not exist\n");
}

TEST(Cli, CommandLineMistakes) {
    const QStringList mistakes[] = {{},
                                    {"dance"},
                                    {"read", "3"},
                                    {"read", "3", "x"},
                                    {"write", "3", "1"},
                                    {"detect", "now"},
                                    {"--speed", "fast", "detect"},
                                    {"--register", "one", "detect"},
                                    {"--port", "ttyS0", "detect"},
                                    {"--port", "COM10", "detect"},
                                    {"--baud", "9600", "detect"},
                                    {"detect", "--port"}};
    for (const QStringList& arguments : mistakes) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.status, 2) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.err.startsWith("tabulon-cli: ")) << qPrintable(run.err);
        EXPECT_TRUE(run.err.endsWith(" (see --help)\n") && run.err.count('\n') == 1)
            << qPrintable(run.err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(cli({"--bogus"}).err, "tabulon-cli: unknown option --bogus (see --help)\n");

    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(
        "Usage: tabulon-cli [--port NAME] [--speed N] [--register N] COMMAND\n"));
}
