#include "sim/com_port_server.h"

#include <QtEndian>

namespace tabulon::sim {

namespace {

namespace telnet = link::telnet;

// A control command's "what is it now?" value and what the port answers:
// no flow control, the only kind a register line has.
constexpr std::uint8_t kAskFlowControl = 0;
constexpr std::uint8_t kNoFlowControl = 1;
// The last of the commands a client sends.
constexpr std::uint8_t kPurgeData = 12;

}  // namespace

QByteArray ComPortServer::receive(QByteArrayView bytes, QByteArray& data) {
    stream_.receive(bytes, data);
    QByteArray out = stream_.takeReplies();
    for (const telnet::Subnegotiation& sub : stream_.takeSubnegotiations()) {
        if (sub.option != telnet::kComPort || sub.payload.isEmpty()) continue;
        const auto command = std::uint8_t(sub.payload[0]);
        if (const std::optional<QByteArray> value = set(command, sub.payload.mid(1)))
            out += telnet::comPortCommand(command + telnet::kServerOffset, *value);
    }
    return out;
}

std::optional<QByteArray> ComPortServer::set(std::uint8_t command, const QByteArray& value) {
    // As ser2net does, a command it does not know (the server's own answers
    // among them) or a setting the line cannot take gets no answer and
    // changes nothing; a one-byte setting is read from the first byte.
    if (command > kPurgeData) return std::nullopt;
    const auto byte = std::uint8_t(value.isEmpty() ? 0 : value[0]);
    const auto within = [&](int low, int high) {
        return byte == 0 || (byte >= low && byte <= high);
    };
    switch (command) {
        case telnet::kSetBaudRate: {
            if (value.size() == 4 && value.count('\0') != 4)
                settings_.baudRate = int(qFromBigEndian<quint32>(value.constData()));
            QByteArray baud(4, '\0');
            qToBigEndian<quint32>(quint32(settings_.baudRate), baud.data());
            return baud;
        }
        case telnet::kSetDataSize:
            if (!within(5, 8)) return std::nullopt;
            if (byte != 0) settings_.dataBits = byte;
            return QByteArray(1, char(settings_.dataBits));
        case telnet::kSetParity:
            if (!within(1, 5)) return std::nullopt;
            if (byte != 0) settings_.parity = telnet::parityOfCode(byte);
            return QByteArray(1, char(telnet::parityCode(settings_.parity)));
        case telnet::kSetStopSize:
            // 1.5 stop bits (3) is not one a serial port here takes.
            if (!within(1, 2)) return std::nullopt;
            if (byte != 0) settings_.stopBits = byte;
            return QByteArray(1, char(settings_.stopBits));
        case telnet::kSetControl:
            // The modem lines and the flow control the client sets are taken
            // as set: a register line has none of them to get wrong.
            return QByteArray(1, char(byte == kAskFlowControl ? kNoFlowControl : byte));
        default:
            // The masks, purges and flow-control pauses: confirmed as asked.
            return value;
    }
}

}  // namespace tabulon::sim
