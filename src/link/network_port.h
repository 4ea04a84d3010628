#pragma once

#include <QTcpSocket>
#include <chrono>
#include <memory>

#include "link/byte_port.h"
#include "link/com_port_negotiation.h"
#include "link/network_address.h"

namespace tabulon::link {

// A register behind a serial server, through a TCP connection: raw
// ("tcp://HOST:PORT") or Telnet with COM-PORT-CONTROL ("rfc2217://HOST:PORT").
// The socket is made by open(), on the thread that uses the port, and is
// used without an event loop: every call waits on it itself. Opening again
// is a new connection.
class NetworkBytePort final : public BytePort, private ComPortNegotiation::Connection {
public:
    struct Timeouts {
        std::chrono::milliseconds read{kByteTimeout};
        std::chrono::milliseconds connect{5000};
        // For the server's answers to the COM-PORT option and the settings.
        std::chrono::milliseconds negotiation{5000};
    };

    NetworkBytePort() : NetworkBytePort(Timeouts{}) {}
    explicit NetworkBytePort(Timeouts timeouts);
    ~NetworkBytePort() override;

    bool open(const QString& address) override;
    bool apply(const LineSettings& settings) override;
    bool isOpen() const override;
    void write(QByteArrayView bytes) override;
    std::optional<std::uint8_t> readByte() override;
    void drain() override;
    void discardInput() override;
    bool close() override;
    QString errorString() const override { return error_; }
    std::optional<NetworkFailure> serverFailure() const override { return failure_; }
    // The socket's bytes, Telnet's commands and escaping included, and those
    // that came and were dropped unread.
    void tapWire(WireTap* tap) override { tap_ = tap; }
    bool reportsWire() const override { return tap_ != nullptr; }

private:
    bool telnet() const { return address_.kind == NetworkAddress::Kind::Rfc2217; }
    void fail(NetworkFailure failure, const QString& detail = QString());
    void failConnect();
    // The server ended the connection while it was being opened.
    void failClosed();
    // Takes what the socket holds into the data queue, answering Telnet
    // requests on the way; false when the connection is gone.
    bool takeReceived();
    // Waits up to `ms` for more bytes; false on time-out or a lost connection.
    bool waitForMore(int ms);
    Wait waitUntil(const QDeadlineTimer& deadline, const std::function<bool()>& done) override;
    void send(const QByteArray& bytes) override;
    void flush();
    // Sets the error of a failed negotiation; true when there is none.
    bool negotiated(const std::optional<ComPortNegotiation::Failure>& failure);

    Timeouts timeouts_;
    std::unique_ptr<QTcpSocket> socket_;
    NetworkAddress address_;
    ComPortNegotiation comPort_{*this, timeouts_.negotiation};
    QByteArray data_;  // received, not yet read
    qsizetype dataRead_ = 0;
    QString error_;
    std::optional<NetworkFailure> failure_;
    WireTap* tap_ = nullptr;
};

}  // namespace tabulon::link
