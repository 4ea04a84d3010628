#pragma once

#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>

#include "link/line_settings.h"
#include "link/network_failure.h"

namespace tabulon::link {

// How long a port waits for the register's next byte before it gives up on it.
inline constexpr std::chrono::milliseconds kByteTimeout{300};

// Told what crossed a port's wire, for a port whose wire carries other bytes
// than the data it passes (a Telnet connection: IAC doubled, options
// negotiated): what a trace must show when a stream is in question.
class WireTap {
public:
    virtual ~WireTap() = default;
    virtual void sent(QByteArrayView bytes) = 0;
    virtual void received(QByteArrayView bytes) = 0;
};

// The one place the protocol touches a device. The real ones are a serial port
// and a serial server's TCP connection; tests and the demo mode put a
// simulated register behind it.
class BytePort {
public:
    virtual ~BytePort() = default;

    // Opens an existing device for reading and writing, exclusively, with
    // 1024-byte queues. False leaves the port closed and errorString() set.
    virtual bool open(const QString& device) = 0;
    // Applies the line settings and the read time-out of kByteTimeout per byte.
    virtual bool apply(const LineSettings& settings) = 0;
    virtual bool isOpen() const = 0;

    // Writes every byte; there is no write time-out. A closed port drops them.
    virtual void write(QByteArrayView bytes) = 0;
    // One byte as soon as it arrives, or nothing after the read time-out.
    virtual std::optional<std::uint8_t> readByte() = 0;
    // Returns once every written byte has left the computer.
    virtual void drain() = 0;
    // Drops every byte received and not yet read, here and in the driver: a
    // reply that came after its time-out must not pass for the next answer.
    virtual void discardInput() = 0;
    // Closes the device; false when the system reports a failure.
    virtual bool close() = 0;

    // The system's description of the last failure of open() or apply().
    virtual QString errorString() const = 0;
    // Why a serial server's connection failed the last open() or apply(), as
    // a value: the diagnosis of a port that did not open reads this, never
    // the text. nullopt for a local port and for the socket's own failures.
    virtual std::optional<NetworkFailure> serverFailure() const { return std::nullopt; }

    // Has the port tell `tap` (nullptr: nobody) the bytes as they cross its
    // wire, where it can; reportsWire() says whether it does for the device
    // now open. Ports whose wire carries the data as it is need neither.
    virtual void tapWire(WireTap* tap) { (void)tap; }
    virtual bool reportsWire() const { return false; }
};

}  // namespace tabulon::link
