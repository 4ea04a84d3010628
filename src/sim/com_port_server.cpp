#include "sim/com_port_server.h"

#include <QtEndian>

namespace tabulon::sim {

namespace {

namespace telnet = link::telnet;

// A control command's "what is it now?" value and what the port answers:
// no flow control, the only kind a register line has.
constexpr std::uint8_t kAskFlowControl = 0;
constexpr std::uint8_t kNoFlowControl = 1;

}  // namespace

QByteArray ComPortServer::receive(QByteArrayView bytes, QByteArray& data) {
    stream_.receive(bytes, data);
    QByteArray out = stream_.takeReplies();
    for (const telnet::Subnegotiation& sub : stream_.takeSubnegotiations()) {
        if (sub.option != telnet::kComPort || sub.payload.isEmpty()) continue;
        const auto command = std::uint8_t(sub.payload[0]);
        // The server's own answers (and anything else past its range) are not
        // the client's to send.
        if (command >= telnet::kServerOffset) continue;
        out += telnet::comPortCommand(command + telnet::kServerOffset,
                                      set(command, sub.payload.mid(1)));
    }
    return out;
}

QByteArray ComPortServer::set(std::uint8_t command, const QByteArray& value) {
    const bool asks = value.count('\0') == value.size();
    switch (command) {
        case telnet::kSetBaudRate: {
            if (value.size() == 4 && !asks)
                settings_.baudRate = int(qFromBigEndian<quint32>(value.constData()));
            QByteArray baud(4, '\0');
            qToBigEndian<quint32>(quint32(settings_.baudRate), baud.data());
            return baud;
        }
        case telnet::kSetDataSize:
            if (value.size() == 1 && !asks) settings_.dataBits = std::uint8_t(value[0]);
            return QByteArray(1, char(settings_.dataBits));
        case telnet::kSetParity:
            if (value.size() == 1 && !asks)
                settings_.parity = telnet::parityOfCode(std::uint8_t(value[0]));
            return QByteArray(1, char(telnet::parityCode(settings_.parity)));
        case telnet::kSetStopSize:
            if (value.size() == 1 && !asks) settings_.stopBits = std::uint8_t(value[0]);
            return QByteArray(1, char(settings_.stopBits));
        case telnet::kSetControl:
            // The modem lines and the flow control the client sets are taken
            // as set: a register line has none of them to get wrong.
            if (value.size() == 1 && std::uint8_t(value[0]) == kAskFlowControl)
                return QByteArray(1, char(kNoFlowControl));
            return value;
        default:
            // The masks, purges and flow-control pauses: confirmed as asked.
            return value;
    }
}

}  // namespace tabulon::sim
