#include "sim/line_server.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "sim/chaos.h"
#include "sim/line_state.h"

namespace tabulon::sim {

namespace {

constexpr useconds_t kLateReplyDelayUs = 400'000;

using LineClock = std::chrono::steady_clock;

bool writeAll(int fd, QByteArrayView bytes);

// A line of a set speed: each byte takes 11 bit times (start, 8 data, 2
// stop), one direction at a time as the register's protocol uses it. A pty
// carries bytes at once; this holds them to what the wire would allow.
class PacedLine {
public:
    explicit PacedLine(int baud) : byteTime_(std::chrono::nanoseconds(11'000'000'000LL / baud)) {}

    // Bytes that were read now: they have all arrived once the line has
    // carried them, counted from when it was last free.
    void heard(qsizetype count) {
        free_ = std::max(free_, LineClock::now()) + byteTime_ * count;
        std::this_thread::sleep_until(free_);
    }
    // Writes the bytes a few at a time, each group when the line has carried
    // the ones before.
    bool send(int fd, QByteArrayView bytes) {
        constexpr qsizetype kGroup = 4;
        free_ = std::max(free_, LineClock::now());
        while (!bytes.isEmpty()) {
            const QByteArrayView group = bytes.first(std::min(kGroup, bytes.size()));
            free_ += byteTime_ * group.size();
            std::this_thread::sleep_until(free_);
            if (!writeAll(fd, group)) return false;
            bytes = bytes.sliced(group.size());
        }
        return true;
    }

private:
    LineClock::duration byteTime_;
    LineClock::time_point free_{};
};

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
    std::optional<PacedLine> paced;
    if (options.pace > 0) paced.emplace(options.pace);
    std::optional<Chaos> chaos;
    if (options.chaosSeed) chaos.emplace(*options.chaosSeed);
    const auto started = LineClock::now();
    const auto sinceStart = [&] { return LineClock::now() - started; };
    const auto sendBytes = [&](QByteArrayView bytes) {
        return paced ? paced->send(fd_, bytes) : writeAll(fd_, bytes);
    };
    // On a bad line the answer goes out in pieces, each after its pause.
    const auto sendAnswer = [&](QByteArrayView bytes) {
        if (!chaos) return sendBytes(bytes);
        for (const Chaos::Piece& piece : chaos->spoken(bytes, sinceStart())) {
            std::this_thread::sleep_for(piece.pause);
            if (!sendBytes(piece.bytes)) return false;
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
        // A register set to another speed hears only noise.
        if (options.speed != 0 && state && state->baudRate != options.speed) continue;

        if (paced) paced->heard(count);
        QByteArray heard(buffer, count);
        if (chaos) heard = chaos->heard(heard, sinceStart());
        const QByteArray answer = ecr.receive(heard);
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
            // Past the computer's 300 ms wait for a byte: by now it has given
            // the exchange up and may already be selecting again.
            ::usleep(kLateReplyDelayUs);
            if (log) std::fprintf(log, "late reply sent\n");
            if (!sendAnswer(late)) return 1;
        }
    }
}

}  // namespace tabulon::sim
