#include <gtest/gtest.h>

#include "link/serial_link.h"
#include "sim/sim_process.h"
#include "sim/tables.h"

using namespace tabulon;

TEST(EndToEnd, DetectWriteAndReadBackThroughAPseudoTerminalAt57700) {
    SimProcess register1({"--model", "neon", "--register", "1", "--speed", "57700", "--log"});
    ASSERT_FALSE(register1.path().isEmpty());
    auto link =
        link::makeSerialLink([&](int port) { return port == 1 ? register1.path() : QString(); });

    ASSERT_EQ(link->OpenPort(1, 57700), 1) << qPrintable(link->openErrorText());
    EXPECT_EQ(link->DetectRegister(1), 1);

    const QByteArray data = sim::cp1251(QStringLiteral("7;Оксана;1;0;"));
    EXPECT_EQ(link->WriteRecord(1, 3, 7, data), 5 + data.size() + 4);
    QByteArray reply;
    const int length = link->ReadRecord(1, 3, 7, reply);
    EXPECT_EQ(reply, "3;7;" + sim::cp1251(QStringLiteral("7;Оксана;1;")));
    EXPECT_EQ(length, reply.size());

    EXPECT_EQ(link->ReadRecord(1, 3, 21, reply), -15);  // no operator 21
    EXPECT_EQ(link->ClosePort(1), 1);
    const QString log = register1.stop();
    EXPECT_TRUE(log.contains("line: 57700 baud, 8N2")) << qPrintable(log);
    EXPECT_TRUE(log.contains("command: W3;7;7;Оксана;1;0;")) << qPrintable(log);
}
