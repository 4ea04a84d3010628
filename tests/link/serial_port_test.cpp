#include "link/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QDeadlineTimer>

#include "link/serial_link.h"
#include "sim/line_state.h"

using namespace tabulon;

namespace {

// The far end of a line: the master side of a pseudo-terminal. Its other side
// is held open too, so the line stays up between the link's openings.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        path_ = QString::fromLocal8Bit(ptsname(master_));
        held_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
        termios raw{};
        tcgetattr(held_, &raw);
        cfmakeraw(&raw);
        tcsetattr(held_, TCSANOW, &raw);
    }
    ~PseudoTerminal() {
        if (held_ >= 0) ::close(held_);
        if (master_ >= 0) ::close(master_);
    }

    const QString& path() const { return path_; }
    int master() const { return master_; }
    void send(QByteArrayView bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), bytes.size());
    }

    // Whatever arrives until `count` bytes are there or nothing more comes.
    QByteArray receive(qsizetype count) {
        QByteArray bytes;
        const QDeadlineTimer deadline(10000);
        while (bytes.size() < count && !deadline.hasExpired()) {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, int(deadline.remainingTime())) <= 0) break;
            char buffer[256];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0) break;
            bytes.append(buffer, got);
        }
        return bytes;
    }
    bool quiet() {
        pollfd fd{master_, POLLIN, 0};
        return ::poll(&fd, 1, 0) == 0;
    }

private:
    int master_ = -1;
    int held_ = -1;
    QString path_;
};

}  // namespace

TEST(SerialPort, OpensExclusivelyWithTheRegisterLineSettings) {
    PseudoTerminal line;
    ASSERT_FALSE(line.path().isEmpty());
    auto first = link::makeSerialLink([&](int) { return line.path(); });
    ASSERT_EQ(first->OpenPort(1, 57700), 1) << qPrintable(first->openErrorText());

    const auto state = sim::lineState(line.master());
    ASSERT_TRUE(state);
    EXPECT_EQ(*state, (sim::LineState{57700, 8, 'N', 2}));

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
    link::SerialBytePort port(std::chrono::milliseconds(20));
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
