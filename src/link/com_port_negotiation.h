#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "link/line_settings.h"
#include "link/network_failure.h"
#include "link/telnet_stream.h"

namespace tabulon::link {

// Telnet with COM-PORT-CONTROL (RFC 2217) on a serial server's connection:
// the options asked for once the server has greeted, the line settings set
// and confirmed, and the Telnet layer every received byte passes through.
class ComPortNegotiation {
public:
    // What the negotiation needs of the connection it runs on.
    class Connection {
    public:
        enum class Wait { Done, Closed, TimedOut };

        // Takes what arrives (through receive()) until `done` says so, the
        // connection is gone with nothing left unread, or `deadline` passes.
        virtual Wait waitUntil(const QDeadlineTimer& deadline,
                               const std::function<bool()>& done) = 0;
        virtual void send(const QByteArray& bytes) = 0;
        virtual bool isOpen() const = 0;

    protected:
        ~Connection() = default;
    };

    // ConnectionClosed carries no detail: what the server said before it
    // hung up is the connection's to tell.
    struct Failure {
        NetworkFailure failure;
        QString detail;
    };

    ComPortNegotiation(Connection& connection, std::chrono::milliseconds timeout)
        : connection_(connection), timeout_(timeout) {}

    // A new connection: nothing agreed, nothing heard.
    void restart();
    // Bytes from the server: the data among them is appended to `data`, its
    // requests are answered.
    void receive(QByteArrayView bytes, QByteArray& data);
    // Asks for the COM-PORT option; nullopt once the server agreed.
    std::optional<Failure> open();
    // Sets the line and waits for the server to confirm it; nullopt when it
    // set what was asked for.
    std::optional<Failure> apply(const LineSettings& settings);

private:
    using Wait = Connection::Wait;

    Connection& connection_;
    std::chrono::milliseconds timeout_;
    telnet::Stream stream_;
    bool greeted_ = false;            // the server has sent something
    bool collectingAnswers_ = false;  // the settings' confirmations are awaited
};

}  // namespace tabulon::link
