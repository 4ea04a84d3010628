#pragma once

#include <QByteArray>
#include <QIODevice>
#include <functional>
#include <memory>

#include "link/byte_port.h"
#include "link/clock.h"
#include "link/register_link.h"

namespace tabulon::link {

// A byte port that passes every call on to the port it wraps and writes what
// crossed the line into a trace, so that an exchange with a register that
// misbehaves can be read afterwards byte by byte. One line per step:
//
//     12.418 ->  FF FF FF FF 11 11 30 31  <FF×4><DC1><DC1>01
//     12.902 <-  0A 30 31 3B 0D 7A 1C  <LF>01;<CR>z<1C>
//    313.115 <-  (no byte within the read time-out)
//
// The first column is milliseconds since the trace began. What the computer
// writes in one call is one step; what the other end sends is gathered until
// the computer writes again, a read times out or the port closes. The text
// column shows printable characters as they are (Windows-1251 letters
// included), the line's control bytes by name, runs of fill bytes counted,
// and anything else as its hexadecimal value.
//
// A port whose wire carries other bytes than the data (a serial server's
// Telnet connection) is traced at its wire: the bytes as they crossed the
// socket, Telnet's commands and doubled IACs included, and bytes that came
// and were dropped unread. Its Telnet decoding is then read off the trace,
// where a decoded view would hide a server's fault. Bytes written while the
// port is not open are not sent, and their line says so ("--" for "->").
class TracingPort final : public BytePort {
public:
    // `trace` must be open for writing; lines go to it as UTF-8. The first
    // line says when the trace began by the wall clock.
    TracingPort(std::unique_ptr<BytePort> port, std::unique_ptr<QIODevice> trace,
                std::shared_ptr<Clock> clock = steadyClock());
    ~TracingPort() override;

    // A trace appended to the file at `path`; nullptr with `error` set when
    // the file cannot be opened.
    static std::unique_ptr<TracingPort> appendingTo(std::unique_ptr<BytePort> port,
                                                    const QString& path, QString& error,
                                                    std::shared_ptr<Clock> clock = steadyClock());

    bool open(const QString& device) override;
    bool apply(const LineSettings& settings) override;
    bool isOpen() const override { return port_->isOpen(); }
    void write(QByteArrayView bytes) override;
    std::optional<std::uint8_t> readByte() override;
    void drain() override { port_->drain(); }
    void discardInput() override { port_->discardInput(); }
    bool close() override;
    QString errorString() const override { return port_->errorString(); }
    std::optional<NetworkFailure> serverFailure() const override { return port_->serverFailure(); }

    // Called once, with the file's words, when a line does not go whole into
    // the trace (a full disk): the trace ends there, so that it has no gaps.
    void whenCut(std::function<void(const QString&)> told) { cutTold_ = std::move(told); }

private:
    struct Wire final : WireTap {
        TracingPort& trace;
        explicit Wire(TracingPort& t) : trace(t) {}
        void sent(QByteArrayView bytes) override { trace.traceSent(bytes); }
        void received(QByteArrayView bytes) override { trace.traceReceived(bytes); }
    };

    void line(Clock::Duration at, const QString& text);
    void flushReceived();
    void traceSent(QByteArrayView bytes);
    void traceReceived(QByteArrayView bytes);

    std::unique_ptr<BytePort> port_;
    std::unique_ptr<QIODevice> trace_;
    std::shared_ptr<Clock> clock_;
    Clock::Duration start_;
    QByteArray received_;
    Clock::Duration receivedAt_{};
    Wire wire_{*this};
    std::function<void(const QString&)> cutTold_;
    bool cut_ = false;
};

// Puts a trace appended to the file at `path` between a link and its port,
// timed on the link's clock: how every face that offers a trace sets it up.
// False with `error` set (and the parts as they were) when the file cannot
// be opened.
// `cut` as for TracingPort::whenCut.
bool traceInto(RegisterLink::Parts& parts, const QString& path, QString& error,
               std::function<void(const QString&)> cut = {});

// The text column of a trace line for these bytes.
QString readableBytes(QByteArrayView bytes);
// "0A 30 31" for these bytes.
QString hexBytes(QByteArrayView bytes);

}  // namespace tabulon::link
