#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "sim/line_device.h"
#include "sim/sim_options.h"

namespace tabulon::sim {

// A simulated register served on a real device: the master side of a
// pseudo-terminal (whose other side the program opens like a serial port) or a
// serial device wired to the computer under test.
class LineServer {
public:
    // Opens a new pseudo-terminal; nullptr with `error` set on failure.
    static std::unique_ptr<LineServer> openPseudoTerminal(QString& error);
    // Opens a serial device raw, 8 data bits, no parity, 2 stop bits.
    static std::unique_ptr<LineServer> openDevice(const QString& path, int speed, QString& error);
    ~LineServer();

    // What the program opens.
    const QString& path() const { return path_; }

    // Answers the line until it fails; `log` (may be null) hears what happens:
    // the line's settings, and what `journal` is told by the registers on it.
    // Returns only on a line failure.
    int serve(LineDevice& line, QStringList& journal, const SimOptions& options, std::FILE* log);

private:
    LineServer(int fd, int watchFd, QString path)
        : fd_(fd), watchFd_(watchFd), path_(std::move(path)) {}

    int fd_;       // where the register reads and writes
    int watchFd_;  // where the line settings can be read back
    QString path_;
};

}  // namespace tabulon::sim
