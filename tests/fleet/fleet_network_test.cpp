// tabulon-cli --fleet over a chain's network: 32 registers on tcp://, 29 of
// them served by one tabulon-sim, two whose server is down (nothing listens)
// and one whose server hangs up on every connection.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>

#include "support/cli_process.h"
#include "support/qt_print.h"

namespace {

// Two ports of this machine with nothing listening on them.
std::pair<QString, QString> nothingListening() {
    QTcpServer one;
    QTcpServer two;
    one.listen(QHostAddress::LocalHost, 0);
    two.listen(QHostAddress::LocalHost, 0);
    return {QStringLiteral("tcp://127.0.0.1:%1").arg(one.serverPort()),
            QStringLiteral("tcp://127.0.0.1:%1").arg(two.serverPort())};
}

// A report with its times masked: they differ from run to run.
QString seconds(const QByteArray& report) {
    static const QRegularExpression time(QStringLiteral(",\\d+\\.\\d,"));
    return QString::fromUtf8(report).replace(time, QStringLiteral(",s.s,"));
}

QString kassa(int i) {
    return QStringLiteral("kassa-%1").arg(i, 2, 10, QLatin1Char('0'));
}

TEST(FleetOnTheNetwork, RegistersDownAreReportedAndFinishedOnceTheyAreUp) {
    const QStringList mp550t{"--model", "mp-550t"};
    SimProcess chain(mp550t + QStringList{"--listen", "tcp://127.0.0.1:0", "--count", "29"}, 29);
    auto hangingUp = std::make_unique<SimProcess>(
        mp550t + QStringList{"--listen", "tcp://127.0.0.1:0", "--refuse-connections"});
    ASSERT_TRUE(chain.paths().size() == 29 && !hangingUp->path().isEmpty());
    const auto [down1, down2] = nothingListening();
    const QString refusing = hangingUp->path();

    // kassa-05 and kassa-30 are down, kassa-17 hangs up.
    QStringList addresses = chain.paths();
    addresses.insert(4, down1);
    addresses.insert(16, refusing);
    addresses.insert(29, down2);
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    QByteArray fleet;
    for (int i = 0; i < addresses.size(); ++i)
        fleet += (kassa(i + 1) + ' ' + addresses[i] + " 115200 1 mp-550t\n").toUtf8();
    writeFile(path("chain.txt"), fleet);
    QStringList lines = emptyLines(10000, 10);
    lines[0] = "1;Хліб житній;12.50;3.000;1;1;1;1;0;4820000000101;";
    const QByteArray prices = cp1251Lines(lines);
    writeFile(path("prices.art"), prices);
    const QStringList fleetOn{"--fleet", path("chain.txt"), "--interval", "1:1:1"};

    const CliRun push = cli(fleetOn + QStringList{"--report", path("monday.csv"), "write-table",
                                                  "goods", path("prices.art")});
    EXPECT_EQ(push.status, 1) << qPrintable(push.err);
    const QString refused =
        " did not open: the server refused the connection; check the port "
        "number and that the service runs on the server\n";
    QString expected = "register,outcome,done,failed,skipped,seconds,reason\n";
    for (int i = 1; i <= 32; ++i) {
        expected +=
            kassa(i) + (i == 5 || i == 30 ? ",failed,0,0,1,s.s," + addresses[i - 1] + refused
                        : i == 17         ? ",failed,0,1,0,s.s,record 1: the serial server "
                                            "closed the connection\n"
                                          : ",done,1,0,0,s.s,\n");
    }
    EXPECT_EQ(seconds(readFile(path("monday.csv"))), expected + "# 32 registers\n");

    // Their servers up again on the same ports: the others are left alone.
    hangingUp.reset();
    SimProcess later(
        mp550t + QStringList{"--listen", down1, "--listen", refusing, "--listen", down2}, 3);
    ASSERT_EQ(later.paths(), (QStringList{down1, refusing, down2}));
    const CliRun finish =
        cli(fleetOn + QStringList{"--only-failed", path("monday.csv"), "--report",
                                  path("again.csv"), "write-table", "goods", path("prices.art")});
    EXPECT_EQ(finish.status, 0) << qPrintable(finish.err);
    EXPECT_EQ(seconds(readFile(path("again.csv"))),
              "register,outcome,done,failed,skipped,seconds,reason\n"
              "kassa-05,done,1,0,0,s.s,\n"
              "kassa-17,done,1,0,0,s.s,\n"
              "kassa-30,done,1,0,0,s.s,\n"
              "# 3 registers\n");

    // Every register of the chain holds the price list, byte for byte.
    const CliRun readBack =
        cli(fleetOn + QStringList{"read-table", "goods", path("back/{name}.art")});
    EXPECT_EQ(readBack.status, 0) << qPrintable(readBack.err);
    for (int i = 1; i <= 32; ++i)
        EXPECT_EQ(readFile(path("back/" + kassa(i) + ".art")), prices) << qPrintable(kassa(i));
}

}  // namespace
