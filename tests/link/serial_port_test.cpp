#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <QThread>

#include "link/serial_link.h"
#include "sim/line_state.h"
#include "support/pseudo_terminal.h"

using namespace tabulon;

TEST(SerialPort, OpensExclusivelyWithTheRegisterLineSettings) {
    PseudoTerminal line;
    ASSERT_FALSE(line.path().isEmpty());
    auto first = link::makeSerialLink([&](int) { return line.path(); });
    ASSERT_EQ(first->OpenPort(1, 57700), 1) << qPrintable(first->openErrorText());

    const auto state = sim::lineState(line.master());
    ASSERT_TRUE(state);
    EXPECT_EQ(*state, (link::LineSettings{57700, 8, 'N', 2}));

    auto second = link::makeSerialLink([&](int) { return line.path(); });
    EXPECT_EQ(second->OpenPort(4, 9600), -3);
    EXPECT_FALSE(second->openErrorText().isEmpty());

    EXPECT_EQ(first->ClosePort(1), 1);
    EXPECT_EQ(second->OpenPort(4, 9600), 1);
    EXPECT_EQ(second->ClosePort(4), 1);
}

TEST(SerialPort, ClosingDrainsTheReleaseSequenceOntoTheLine) {
    PseudoTerminal line;
    auto link = link::makeSerialLink([&](int) { return line.path(); });
    ASSERT_EQ(link->OpenPort(2, 115200), 1);
    EXPECT_EQ(link->ClosePort(1), -1);
    EXPECT_TRUE(line.quiet());
    EXPECT_EQ(link->ClosePort(2), 1);
    EXPECT_EQ(line.receive(18), QByteArray(8, '\xFF') + "\x13\x13" + QByteArray(8, '\xFF'));
    EXPECT_TRUE(line.quiet());
}

TEST(SerialPort, DeviceThatDoesNotExist) {
    auto link =
        link::makeSerialLink([](int) { return QStringLiteral("/dev/tabulon-no-such-port"); });
    EXPECT_EQ(link->OpenPort(1, 9600), -3);
    EXPECT_EQ(link->openErrorText(), "No such file or directory");
    EXPECT_FALSE(link->isOpen());
}

TEST(SerialPort, ReadsOneByteAtATime) {
    PseudoTerminal line;
    link::SerialBytePort port;
    ASSERT_TRUE(port.open(line.path()));
    ASSERT_TRUE(port.apply(link::LineSettings{9600, 8, 'N', 2, true}));

    line.send("\x0A\xFF");
    EXPECT_EQ(port.readByte(), std::optional<std::uint8_t>(0x0A));
    EXPECT_EQ(port.readByte(), std::optional<std::uint8_t>(0xFF));
    EXPECT_EQ(port.readByte(), std::nullopt);

    port.write("\x11\x13");
    EXPECT_EQ(line.receive(2), "\x11\x13");
    EXPECT_TRUE(port.close());
    EXPECT_EQ(port.readByte(), std::nullopt);
}

TEST(SerialPort, DiscardedInputIsGoneFromQtsBufferAndFromTheDriver) {
    PseudoTerminal line;
    link::SerialBytePort port;
    ASSERT_TRUE(port.open(line.path()));
    ASSERT_TRUE(port.apply(link::LineSettings{9600, 8, 'N', 2, true}));

    line.send(
        "\x0A"
        "12");
    EXPECT_EQ(port.readByte(),
              std::optional<std::uint8_t>(0x0A));  // the rest now sits in Qt's buffer
    line.send("34");                               // and this in the driver's
    QThread::msleep(50);
    port.discardInput();
    EXPECT_EQ(port.readByte(), std::nullopt);

    line.send("\x06");
    EXPECT_EQ(port.readByte(), std::optional<std::uint8_t>(0x06));
}
