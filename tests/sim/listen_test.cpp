// tabulon-sim --listen as a program: the register behind TCP ports, raw and
// RFC 2217, reached by tabulon-cli and by the link's own network port.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "link/frame.h"
#include "link/network_port.h"
#include "support/cli_process.h"

using namespace tabulon;

namespace {

const QByteArray kFill(10, '\xFF');
const QByteArray kSelectFirst = kFill + "\x11\x11" + "01" + kFill;
const QByteArray kNeonStatus = link::BuildFrame("01;NEON;");

// What the register answers to `bytes` on the link's port, up to `expected`
// bytes or a read time-out.
QByteArray ask(link::NetworkBytePort& port, const QByteArray& bytes, qsizetype expected) {
    port.write(bytes);
    QByteArray answer;
    while (answer.size() < expected) {
        const std::optional<std::uint8_t> byte = port.readByte();
        if (!byte) break;
        answer.append(char(*byte));
    }
    return answer;
}

}  // namespace

// Goods whose names hold "я" (0xFF, Telnet's IAC, before "р", which would
// make it a command) go out and come back byte for byte, on a raw line of
// three served from port 0 and through RFC 2217.
TEST(SimListen, GoodsComeBackByteForByteOnEitherKindOfLine) {
    const QStringList rows = {
        "1;Яблука ярі;12.50;3.000;1;1;1;1;0;4820000000101;",
        "2;Пряники;29.90;1.000;3;2;1;1;0;0;",
        "3;Ряжанка я;26.50;0.000;3;1;1;1;0;0;",
    };
    struct Case {
        QStringList listen;
        int lines;
        int used;  // the line the program talks to
    };
    const Case cases[] = {
        {{"--listen", "tcp://127.0.0.1:0", "--count", "3"}, 3, 1},
        {{"--listen", "rfc2217://127.0.0.1:0"}, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.listen.join(' ')));
        SimProcess ecr(QStringList{"--model", "mp-550t", "--log"} + c.listen, c.lines);
        ASSERT_EQ(ecr.paths().size(), c.lines);
        const QString scheme = c.listen[1].section(u':', 0, 0);
        static const QRegularExpression printed(QStringLiteral("^(tcp|rfc2217)://127.0.0.1:\\d+$"));
        for (const QString& path : ecr.paths()) {
            EXPECT_TRUE(printed.match(path).hasMatch()) << qPrintable(path);
            EXPECT_TRUE(path.startsWith(scheme + "://")) << qPrintable(path);
        }
        EXPECT_EQ(QSet<QString>(ecr.paths().begin(), ecr.paths().end()).size(), c.lines);
        const QString address = ecr.paths()[c.used];

        QTemporaryDir directory;
        const QString in = directory.filePath("in.art"), out = directory.filePath("out.art");
        QStringList lines = emptyLines(10000, 10);
        for (int i = 0; i < rows.size(); ++i) lines[100 + i] = rows[i];
        writeFile(in, cp1251Lines(lines));
        const QStringList options{"--port",  address,   "--speed",    "115200",
                                  "--model", "mp-550t", "--interval", "101:103:1"};
        const CliRun detect = cli({"--port", address, "--speed", "115200", "detect"});
        EXPECT_EQ(detect.out, "found\n") << qPrintable(detect.err);
        const CliRun write = cli(options + QStringList{"write-table", "goods", in});
        EXPECT_EQ(write.status, 0) << qPrintable(write.err);
        EXPECT_EQ(write.out, "goods: 3 records written\n");
        const CliRun read = cli(options + QStringList{"read-table", "goods", out});
        EXPECT_EQ(read.status, 0) << qPrintable(read.err);
        EXPECT_EQ(readFile(out), readFile(in));

        // Several lines tell in the log whose each line is.
        const QString prefix = c.lines > 1 ? address + ": " : QString();
        const QString log = ecr.stop();
        EXPECT_TRUE(log.contains(prefix + "command: W0;1;" + rows[0] + "\n")) << qPrintable(log);
    }
}

// Through RFC 2217 the register hears the line only at the speed asked for
// with the COM-PORT option; a raw line has no speed to ask and counts as set.
TEST(SimListen, TheSpeedRuleOnANetworkLine) {
    struct Case {
        const char* scheme;
        int speed;  // set through the port
        QByteArray answer;
    };
    const Case cases[] = {
        {"rfc2217", 9600, kNeonStatus},
        {"rfc2217", 19200, ""},
        {"tcp", 19200, kNeonStatus},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scheme + std::to_string(c.speed));
        SimProcess ecr(
            {"--speed", "9600", "--listen", QStringLiteral("%1://127.0.0.1:0").arg(c.scheme)});
        link::NetworkBytePort port;
        ASSERT_TRUE(port.open(ecr.path())) << qPrintable(port.errorString());
        ASSERT_TRUE(port.apply(link::LineSettings{.baudRate = c.speed}))
            << qPrintable(port.errorString());
        EXPECT_EQ(ask(port, kSelectFirst, kNeonStatus.size()), c.answer);
    }
}

// Two connections one after the other, the first kept open: the line serves
// one client at a time and tells a second, as ser2net does, that the port is
// in use; a refused connection is closed without a word.
TEST(SimListen, WhichConnectionsTheLineServes) {
    struct Case {
        const char* fault;
        QByteArray first, second;  // what each hears after the second connects
    };
    const Case cases[] = {
        {"--log", kNeonStatus, "Port already in use\r\n"},
        {"--refuse-connections=1", "", kNeonStatus},
        {"--refuse-connections", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        SimProcess ecr({c.fault, "--listen", "tcp://127.0.0.1:0"});
        link::NetworkBytePort first, second;
        ASSERT_TRUE(first.open(ecr.path())) << qPrintable(first.errorString());
        ASSERT_TRUE(second.open(ecr.path())) << qPrintable(second.errorString());
        EXPECT_EQ(ask(first, kSelectFirst, kNeonStatus.size()), c.first);
        EXPECT_EQ(ask(second, kSelectFirst, 64), c.second);
        EXPECT_EQ(first.isOpen(), c.first == kNeonStatus);
        EXPECT_EQ(second.isOpen(), c.second == kNeonStatus);
    }
}

// Written records outlive the client that wrote them, as a register's memory
// outlives a pulled cable.
TEST(SimListen, TheTablesStayWhenTheClientGoes) {
    SimProcess ecr({"--listen", "tcp://127.0.0.1:0"});
    {
        const CliRun write = cli({"--port", ecr.path(), "write", "10", "1", "Склад;"});
        ASSERT_EQ(write.status, 0) << qPrintable(write.err);
    }
    const CliRun read = cli({"--port", ecr.path(), "read", "10", "1"});
    EXPECT_EQ(read.out, "10;1;Склад;\n") << qPrintable(read.err);
}

TEST(SimListen, APortThatCannotBeTaken) {
    SimProcess holder({"--listen", "tcp://127.0.0.1:0"});
    ASSERT_FALSE(holder.path().isEmpty());
    QProcess second;
    second.start(QStringLiteral(TABULON_SIM_PATH), {"--listen", holder.path()});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(second.readAllStandardOutput(), "");
    EXPECT_EQ(QString::fromUtf8(second.readAllStandardError()),
              "tabulon-sim: cannot listen on " + holder.path() +
                  ": The bound address is already in use\n");
}

// With room for one descriptor more: a connection that finds none waits; a
// client that sends 64 MB to a slow line costs little memory and, once gone,
// holds the line for nobody.
TEST(SimListen, MisbehavingClients) {
#ifdef TABULON_SANITIZED
    GTEST_SKIP() << "a sanitized simulator needs descriptors and memory this test takes away";
#endif
    SimProcess ecr({"--pace", "9600", "--listen", "tcp://127.0.0.1:0", "--count", "2"}, 2);
    const QStringList open = QDir(QStringLiteral("/proc/%1/fd").arg(ecr.pid())).entryList();
    rlim_t free = 0;
    while (open.contains(QString::number(free))) ++free;
    const rlimit one{free + 1, free + 1};
    ASSERT_EQ(::prlimit(pid_t(ecr.pid()), RLIMIT_NOFILE, &one, nullptr), 0);
    // A bound for a stuck simulator, not a measure: a loaded machine takes its time.
    link::NetworkBytePort flood, port({.read = std::chrono::seconds(120)});
    ASSERT_TRUE(flood.open(ecr.path()) && port.open(ecr.paths()[1]));
    flood.write(kSelectFirst.repeated((64 << 20) / kSelectFirst.size()));
    flood.close();
    // Answered once the simulator has let the flood go and its descriptor with it.
    EXPECT_EQ(ask(port, kSelectFirst, kNeonStatus.size()), kNeonStatus);
    QFile status(QStringLiteral("/proc/%1/status").arg(ecr.pid()));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    EXPECT_LT(text.mid(text.indexOf("VmHWM:") + 6).split('k')[0].trimmed().toInt(), 32 << 10);
    ASSERT_TRUE(port.close() && port.open(ecr.path()));
    EXPECT_EQ(ask(port, kSelectFirst, kNeonStatus.size()), kNeonStatus);
}
