#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

// Bytes pass a raw terminal as they are: no echo, no line editing, no CR/LF
// translation.
inline void makeRaw(int fd) {
    termios raw{};
    tcgetattr(fd, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
}

// The far end of a line for tests: the master side of a pseudo-terminal. Its other side
// is held open too, so the line stays up between the link's openings.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        path_ = QString::fromLocal8Bit(ptsname(master_));
        held_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
        makeRaw(held_);
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
