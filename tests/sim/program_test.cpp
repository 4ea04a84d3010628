#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QProcess>

#include "link/frame.h"
#include "support/pseudo_terminal.h"
#include "support/sim_process.h"

using namespace tabulon;

namespace {

// The computer's end of the pseudo-terminal, raw, without the link.
class Terminal {
public:
    explicit Terminal(const QString& path) {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        makeRaw(fd_);
    }
    ~Terminal() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    QByteArray ask(const QByteArray& bytes, qsizetype expected, int quietMs = 200) {
        if (::write(fd_, bytes.data(), size_t(bytes.size())) != bytes.size()) return {};
        QByteArray answer;
        const QDeadlineTimer deadline(20000);
        for (;;) {
            pollfd fd{fd_, POLLIN, 0};
            const int wait = answer.size() < expected ? int(deadline.remainingTime()) : quietMs;
            if (::poll(&fd, 1, wait) <= 0) break;
            char buffer[512];
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0) break;
            answer.append(buffer, got);
        }
        return answer;
    }

private:
    int fd_ = -1;
};

const QByteArray kFill(10, '\xFF');

}  // namespace

TEST(SimProgram, ServesARegisterOnAPseudoTerminal) {
    SimProcess ecr({"--model", "mp-550t", "--register", "2"});
    ASSERT_TRUE(ecr.path().startsWith("/dev/pts/")) << qPrintable(ecr.path());
    Terminal line(ecr.path());
    ASSERT_TRUE(line.isOpen());

    const QByteArray status = link::BuildFrame("02;MP-550T;");
    EXPECT_EQ(line.ask(kFill +
                           "\x11\x11"
                           "02" +
                           kFill,
                       status.size()),
              status);
    const QByteArray reply = "\x06" + link::BuildFrame("9;2;1;1;\xD7\xE5\xEA;0;0;");
    EXPECT_EQ(line.ask(kFill + link::BuildFrame("R9;2;"), reply.size()), reply);
    // Register 1 is not there: nothing comes back.
    EXPECT_EQ(line.ask(kFill +
                           "\x11\x11"
                           "01" +
                           kFill,
                       0),
              QByteArray());
}

TEST(SimProgram, ServesADeviceAtASpeedOutsideTheStandardRates) {
    // The pseudo-terminal stands in for a serial device wired to the computer.
    PseudoTerminal wire;
    SimProcess ecr({"--device", wire.path(), "--speed", "57700"});
    ASSERT_EQ(ecr.path(), wire.path());

    const QByteArray status = link::BuildFrame("01;NEON;");
    wire.send(kFill +
              "\x11\x11"
              "01" +
              kFill);
    EXPECT_EQ(wire.receive(status.size()), status);
}

TEST(SimProgram, HelpAndMistakes) {
    QProcess help;
    help.start(QStringLiteral(TABULON_SIM_PATH), {"--help"});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray usage = help.readAllStandardOutput();
    for (const char* name :
         {"--silent", "--refuse-frames", "--error-replies", "--wrong-check-bytes",
          "--cut-short-lines", "--fill-inside-lines", "--over-long-replies", "--register",
          "--refuse-connections", "--listen", "--count"}) {
        EXPECT_TRUE(usage.contains(name)) << name;
    }

    QProcess wrong;
    wrong.start(QStringLiteral(TABULON_SIM_PATH), {"--model", "mp-60"});
    ASSERT_TRUE(wrong.waitForFinished(30000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_EQ(wrong.readAllStandardError(), "tabulon-sim: unknown model: mp-60 (see --help)\n");
}
