// tabulon-cli against tabulon-sim behind Debian's ser2net: the register on a
// pseudo-terminal, the program on 127.0.0.1.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/cli_process.h"
#include "support/fake_server.h"
#include "support/ser2net_process.h"

namespace {

class SerialServer : public ::testing::Test {
protected:
    QTemporaryDir directory;
    QString path(const QString& name) const { return directory.filePath(name); }

    void SetUp() override {
        ASSERT_FALSE(Ser2netProcess::program().isEmpty())
            << "ser2net is not installed (scripts/deps.sh installs it)";
    }
};

QStringList at(const QString& address, int speed, const QStringList& rest) {
    return QStringList{"--port", address, "--speed", QString::number(speed)} + rest;
}

}  // namespace

// The same goods go out and come back byte for byte through either kind of
// accepter; the register saw every record at the speed the link set.
TEST_F(SerialServer, GoodsComeBackByteForByteThroughRawTcpAndRfc2217) {
    const QStringList rows = {
        "1;Хліб житній;12.50;3.000;1;1;1;1;0;4820000000101;",
        "2;Чай \"Лісовий\" 25 пакетиків;29.90;1.000;3;2;1;1;0;0;",
        "3;Цукор;26.50;0.000;3;1;1;1;0;0;",
        "4;Пакет;1.50;0.000;3;1;1;2;0;0;",
        "5;Сіль;7.90;0.000;3;1;1;1;0;0;",
    };
    struct Case {
        const char* scheme;
        int connectorSpeed;  // the server's own setting of the device
    };
    for (const Case c : {Case{"tcp", 19200}, Case{"rfc2217", 4800}}) {
        SCOPED_TRACE(c.scheme);
        SimProcess ecr({"--model", "mp-550t", "--speed", "19200", "--log"});
        ASSERT_FALSE(ecr.path().isEmpty());
        Ser2netProcess server(ecr.path(), c.connectorSpeed);
        const QString address =
            QString::fromLatin1(c.scheme) == "tcp" ? server.raw() : server.rfc2217();
        QStringList lines = emptyLines(10000, 10);
        for (int i = 0; i < rows.size(); ++i) lines[100 + i] = rows[i];
        writeFile(path("in.art"), cp1251Lines(lines));
        const QStringList options{"--model", "mp-550t", "--interval", "101:105:1"};
        const CliRun write =
            cli(at(address, 19200, options + QStringList{"write-table", "goods", path("in.art")}));
        EXPECT_EQ(write.status, 0) << qPrintable(write.err + server.output());
        EXPECT_EQ(write.out, "goods: 5 records written\n");
        const CliRun read =
            cli(at(address, 19200, options + QStringList{"read-table", "goods", path("out.art")}));
        EXPECT_EQ(read.status, 0) << qPrintable(read.err);
        EXPECT_EQ(readFile(path("out.art")), readFile(path("in.art")));
        const QString log = ecr.stop();
        const QStringList commands = commandsIn(log);
        ASSERT_EQ(commands.size(), 10) << qPrintable(log);
        EXPECT_EQ(commands[0], "W0;1;" + rows[0]);
        EXPECT_EQ(commands[5], "R0;1;");
    }
}

// The register answers only at 9600 baud and the server's own setting is
// 4800: through RFC 2217 the link sets 9600 and finds it; raw TCP leaves the
// server's 4800 and finds nothing.
TEST_F(SerialServer, OnlyRfc2217SetsTheSpeedTheRegisterListensAt) {
    SimProcess ecr({"--model", "neon", "--speed", "9600", "--log"});
    ASSERT_FALSE(ecr.path().isEmpty());
    Ser2netProcess server(ecr.path(), 4800);
    const CliRun rfc2217 = cli(at(server.rfc2217(), 9600, {"detect"}));
    EXPECT_EQ(rfc2217.status, 0) << qPrintable(rfc2217.err);
    EXPECT_EQ(rfc2217.out, "found\n");
    const CliRun raw = cli(at(server.raw(), 9600, {"detect"}));
    EXPECT_EQ(raw.status, 1);
    EXPECT_EQ(raw.err, "no register answers with that number\n") << qPrintable(raw.err);
    const QString log = ecr.stop();
    EXPECT_TRUE(log.contains("line: 9600 baud, 8N2")) << qPrintable(log);
}

// A server that does not let the port open is told in words a person can
// act on, at once.
TEST_F(SerialServer, AServerThatDoesNotLetThePortOpenIsToldWhy) {
    SimProcess ecr({"--model", "neon"});
    ASSERT_FALSE(ecr.path().isEmpty());
    Ser2netProcess server(ecr.path(), 9600);
    // A port of this machine that nobody listens on.
    const QString nobody =
        QStringLiteral("rfc2217://127.0.0.1:%1").arg(tabulon::testing::LoopbackListener(1).port());
    const struct {
        QString address;
        QString err;
    } rows[] = {
        {nobody, nobody + " did not open: the server refused the connection; check the port number "
                          "and that the service runs on the server\n"},
        {"tcp://tabulon-no-such-host.invalid:4001",
         "tcp://tabulon-no-such-host.invalid:4001 did not open: host not found; check "
         "the server's name or address\n"},
        {server.telnetOnly(), "" + server.telnetOnly() +
                                  " did not open: the server refused the COM-PORT option "
                                  "(RFC 2217); switch the server's port to RFC 2217 or use "
                                  "tcp://\n"},
    };
    for (const auto& row : rows) {
        const CliRun run = cli(at(row.address, 9600, {"detect"}));
        EXPECT_EQ(run.status, 1) << qPrintable(row.address);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, row.err);
    }
}

// [Ports] maps a COM name to a server: ports lists it, a command on the COM
// name goes there, and a scan finds the register behind it.
TEST_F(SerialServer, AComNameOfThePortsSectionReachesTheServer) {
    SimProcess ecr({"--model", "neon", "--register", "3", "--speed", "9600"});
    ASSERT_FALSE(ecr.path().isEmpty());
    Ser2netProcess server(ecr.path(), 9600);
    writeFile(path("Tabulon.ini"), "[Ports]\r\nCOM5=" + server.rfc2217().toLatin1() +
                                       "\r\nCOM6=" + server.raw().toLatin1() + "\r\n");
    const CliRun ports = cli({"ports"}, directory.path());
    const int width = int(server.rfc2217().size());
    EXPECT_TRUE(
        ports.out.contains("COM5  " + server.rfc2217() + "  serial server, RFC 2217, [Ports]\n"))
        << qPrintable(ports.out);
    EXPECT_TRUE(ports.out.contains(
        QStringLiteral("COM6  %1  serial server, raw TCP, [Ports]\n").arg(server.raw(), -width)))
        << qPrintable(ports.out);

    const CliRun detect =
        cli({"--port", "COM5", "--speed", "9600", "--register", "3", "detect"}, directory.path());
    EXPECT_EQ(detect.out, "found\n") << qPrintable(detect.err);
    // One name at a time: both stand for the one register line.
    const struct {
        const char* name;
        QString found;
    } scans[] = {
        {"COM5", "COM5 (" + server.rfc2217() + ") speed 9600 register 3\n"},
        {"COM6", "COM6 (" + server.raw() + ") speed the server's register 3\n"},
    };
    for (const auto& row : scans) {
        const CliRun scan = cli(
            {"scan", "--ports", row.name, "--speeds", "4800,9600", "--registers", "3", "--quiet"},
            directory.path());
        EXPECT_EQ(scan.status, 0) << qPrintable(scan.err);
        EXPECT_EQ(scan.out, row.found);
    }
}
