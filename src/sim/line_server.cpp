#include "sim/line_server.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include "sim/line_state.h"
#include "sim/line_timing.h"

namespace tabulon::sim {

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

void makeRaw(int fd) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) return;
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD | CSTOPB;
    ::tcsetattr(fd, TCSANOW, &settings);
}

bool writeAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

}  // namespace

std::unique_ptr<LineServer> LineServer::openPseudoTerminal(QString& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = systemError();
        if (master >= 0) ::close(master);
        return nullptr;
    }
    const QString path = QString::fromLocal8Bit(::ptsname(master));
    // Holding the far end open keeps the line up between the program's
    // openings (the master would read end-of-line otherwise), and lets the
    // line be raw before anyone else opens it, so nothing is echoed.
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        error = systemError();
        ::close(master);
        return nullptr;
    }
    makeRaw(slave);
    setBaudRate(slave, 4800);
    return std::unique_ptr<LineServer>(new LineServer(master, slave, path));
}

std::unique_ptr<LineServer> LineServer::openDevice(const QString& path, int speed, QString& error) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        error = systemError();
        return nullptr;
    }
    makeRaw(fd);
    // The register hears only a line set to its speed, which may be one of the
    // link's rates that termios has no constant for.
    if (speed != 0 && !setBaudRate(fd, speed)) {
        error = systemError();
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<LineServer>(new LineServer(fd, fd, path));
}

LineServer::~LineServer() {
    if (watchFd_ != fd_) ::close(watchFd_);
    ::close(fd_);
}

int LineServer::serve(LineDevice& ecr, QStringList& journal, const SimOptions& options,
                      std::FILE* log) {
    std::optional<link::LineSettings> shown;
    LineTiming timing(options);
    const auto sendAnswer = [&](QByteArrayView bytes) {
        for (const TimedBytes& piece : timing.spoken(bytes, LineClock::now())) {
            std::this_thread::sleep_until(piece.due);
            if (!writeAll(fd_, piece.bytes)) return false;
        }
        return true;
    };
    char buffer[512];
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            if (log) std::fprintf(log, "line failed: %s\n", qPrintable(systemError()));
            return 1;
        }
        const std::optional<link::LineSettings> state = lineState(watchFd_);
        if (log && state && state != shown) {
            std::fprintf(log, "line: %s\n", qPrintable(lineStateText(*state)));
            shown = state;
        }
        if (!hearsLine(options.speed, state)) continue;

        std::this_thread::sleep_until(timing.arrival(LineClock::now(), count));
        const QByteArray answer =
            ecr.receive(timing.heard(QByteArrayView(buffer, count), LineClock::now()));
        if (log) {
            for (const QString& line : journal) std::fprintf(log, "%s\n", qPrintable(line));
            std::fflush(log);
        }
        journal.clear();
        if (!sendAnswer(answer)) {
            if (log) std::fprintf(log, "line failed: %s\n", qPrintable(systemError()));
            return 1;
        }
        if (const QByteArray late = ecr.takeLateOutput(); !late.isEmpty()) {
            std::this_thread::sleep_for(kLateReplyDelay);
            if (log) std::fprintf(log, "late reply sent\n");
            if (!sendAnswer(late)) return 1;
        }
    }
}

}  // namespace tabulon::sim
