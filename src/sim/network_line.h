#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>

#include "link/network_address.h"
#include "sim/com_port_server.h"
#include "sim/line_timing.h"
#include "sim/sim_options.h"
#include "sim/simulated_bus.h"

namespace tabulon::sim {

// A simulated register (or a bus of them) behind a TCP port, as behind a
// serial server: raw bytes or Telnet with COM-PORT-CONTROL. It runs on the
// thread's event loop, its pacing and late replies kept by one timer, so
// that one thread serves hundreds of lines. One client at a time, as a
// server's port takes one; the registers keep their tables between clients,
// as a register keeps its memory when the cable is pulled.
class NetworkLine : public QObject {
public:
    // `log` (may be null) hears what happens; `named`: each line of it
    // starts with the line's address, for a log that several lines share.
    NetworkLine(const link::NetworkAddress& address, const SimOptions& options, std::FILE* log,
                bool named);
    ~NetworkLine() override;

    // Starts listening; false with `error` set when the port cannot be taken.
    bool listen(QString& error);
    // Where it listens, the port the system picked included.
    link::NetworkAddress address() const;

private:
    void accept();
    // Takes in all the client sent; what is past the backlog is lost.
    void read();
    void drop();
    // Does what is due (writes what is to go out, then takes in what has
    // come) and sets the timer for what is next.
    void pump();
    // The registers' answer to what has all come in by `heard`, going out from then.
    void answer(const QByteArray& bytes, LineClock::time_point heard);
    void say(const char* text);
    // To the client, unless it has left too much unread.
    void send(const QByteArray& bytes);

    link::NetworkAddress asked_;
    const SimOptions& options_;
    std::FILE* log_;
    bool named_;
    QString logPrefix_;
    QStringList journal_;
    std::unique_ptr<SimulatedBus> bus_;
    Fault refuse_;
    LineTiming timing_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    std::optional<ComPortServer> comPort_;
    std::optional<link::LineSettings> shown_;
    QByteArray inbox_;  // heard, not yet taken in
    std::deque<TimedBytes> outbox_;
    QTimer timer_;
    QTimer acceptAgain_;
    bool cannotAccept_ = false;  // said so on the log, not taken since
};

}  // namespace tabulon::sim
