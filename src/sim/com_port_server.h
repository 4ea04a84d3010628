#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "link/line_settings.h"
#include "link/telnet_stream.h"

namespace tabulon::sim {

// The serial server's end of Telnet with COM-PORT-CONTROL (RFC 2217), as
// ser2net answers it: binary both ways, the client asked to run the COM-PORT
// option, each setting answered with the server's code (the command plus 100)
// and the value set, and every 0xFF of the data doubled.
class ComPortServer {
public:
    // What the server says as the client connects.
    QByteArray greeting() { return stream_.opening(true); }
    // Bytes from the client: the data among them is appended to `data`;
    // returns the answers to send back at once.
    QByteArray receive(QByteArrayView bytes, QByteArray& data);
    // The line as the client has set it; speed 0 until it has asked for one.
    const link::LineSettings& settings() const { return settings_; }

private:
    // The value a command sets or, given 0, asks for.
    QByteArray set(std::uint8_t command, const QByteArray& value);

    link::telnet::Stream stream_{link::telnet::Stream::End::Server};
    link::LineSettings settings_{.baudRate = 0};
};

}  // namespace tabulon::sim
