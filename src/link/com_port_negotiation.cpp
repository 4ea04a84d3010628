#include "link/com_port_negotiation.h"

#include <QList>
#include <QScopeGuard>
#include <QtEndian>
#include <algorithm>
#include <array>

namespace tabulon::link {

namespace {

// How long a Telnet server is given to greet before the options are asked for.
constexpr std::chrono::milliseconds kGreetingWait{500};

// COM-PORT-CONTROL's own values for flow control and DTR.
constexpr std::uint8_t kNoFlowControl = 1;
constexpr std::uint8_t kDtrOn = 8;
constexpr std::uint8_t kDtrOff = 9;

QByteArray oneByte(std::uint8_t value) {
    return QByteArray(1, char(value));
}

struct Asked {
    std::uint8_t command;
    QByteArray value;
    const char* name;
};

QList<Asked> commandsFor(const LineSettings& settings) {
    QByteArray baud(4, '\0');
    qToBigEndian<quint32>(quint32(settings.baudRate), baud.data());
    const std::uint8_t stopSize = settings.stopBits == 2 ? 2 : 1;
    return {
        {telnet::kSetBaudRate, baud, "speed"},
        {telnet::kSetDataSize, oneByte(std::uint8_t(settings.dataBits)), "data bits"},
        {telnet::kSetParity, oneByte(telnet::parityCode(settings.parity)), "parity"},
        {telnet::kSetStopSize, oneByte(stopSize), "stop bits"},
        {telnet::kSetControl, oneByte(kNoFlowControl), "flow control"},
        {telnet::kSetControl, oneByte(settings.dataTerminalReady ? kDtrOn : kDtrOff), "DTR"},
    };
}

// The value the server set for each command, by command number.
using Answers = std::array<std::optional<QByteArray>, telnet::kSetControl + 1>;

void takeAnswers(const QList<telnet::Subnegotiation>& subs, Answers& answers) {
    for (const telnet::Subnegotiation& sub : subs) {
        if (sub.option != telnet::kComPort || sub.payload.isEmpty()) continue;
        const std::uint8_t command = std::uint8_t(sub.payload[0]) - telnet::kServerOffset;
        if (command < telnet::kSetBaudRate || command > telnet::kSetControl) continue;
        answers[command] = sub.payload.mid(1);
    }
}

int answered(const Answers& answers) {
    return int(
        std::count_if(answers.begin(), answers.end(), [](const auto& a) { return a.has_value(); }));
}

// A setting's value as the person knows it: the speed and the one-byte codes
// as numbers, anything else as it came.
QString valueText(const QByteArray& bytes) {
    return bytes.size() == 4   ? QString::number(qFromBigEndian<quint32>(bytes.data()))
           : bytes.size() == 1 ? QString::number(uchar(bytes[0]))
                               : QString::fromLatin1(bytes.toHex());
}

ComPortNegotiation::Failure closed() {
    return {NetworkFailure::ConnectionClosed, QString()};
}

}  // namespace

void ComPortNegotiation::restart() {
    stream_ = telnet::Stream();
    greeted_ = false;
}

void ComPortNegotiation::receive(QByteArrayView bytes, QByteArray& data) {
    greeted_ = true;
    stream_.receive(bytes, data);
    connection_.send(stream_.takeReplies());
    // Outside the settings' confirmations nothing the server says of its port
    // (modem and line state notices) is needed.
    if (!collectingAnswers_) stream_.takeSubnegotiations();
}

std::optional<ComPortNegotiation::Failure> ComPortNegotiation::open() {
    // A server may take in nothing until its own side of the connection is
    // up (ser2net opens the serial device first, and drops what came before
    // its greeting): the options are asked for once it has greeted, or once
    // it has kept quiet for a while.
    const QDeadlineTimer deadline(timeout_);
    const QDeadlineTimer greeting(std::min(timeout_, kGreetingWait));
    if (connection_.waitUntil(greeting, [this] { return greeted_; }) == Wait::Closed)
        return closed();
    connection_.send(stream_.opening(true));
    const Wait wait = connection_.waitUntil(deadline, [this] {
        return stream_.localEnabled(telnet::kComPort) || stream_.localRefused(telnet::kComPort);
    });
    if (wait == Wait::Closed) return closed();
    if (wait == Wait::TimedOut)
        return Failure{NetworkFailure::OptionNotAnswered,
                       QStringLiteral("%1 ms").arg(timeout_.count())};
    // Agreed in the greeting of a server that hung up right after it.
    if (stream_.localEnabled(telnet::kComPort))
        return connection_.isOpen() ? std::nullopt : std::optional(closed());
    return Failure{NetworkFailure::OptionRefused, QString()};
}

std::optional<ComPortNegotiation::Failure> ComPortNegotiation::apply(const LineSettings& settings) {
    const QList<Asked> asked = commandsFor(settings);
    stream_.takeSubnegotiations();
    collectingAnswers_ = true;
    const auto stop = qScopeGuard([this] { collectingAnswers_ = false; });
    QByteArray commands;
    for (const Asked& a : asked) commands += telnet::comPortCommand(a.command, a.value);
    connection_.send(commands);

    // The server answers each command with the value it set; a server may
    // answer one twice, or tell of its port between the answers, so each
    // setting stands by the last answer it got. DTR is asked for last and
    // its answer not awaited: a server port without modem lines (ser2net on a
    // pseudo-terminal) leaves it unanswered, and the register line works
    // without it, as it does on a local port that cannot raise it. One answer
    // to the control commands (the flow control's) is awaited.
    Answers answers;
    const int awaited = telnet::kSetControl;
    const Wait wait = connection_.waitUntil(QDeadlineTimer(timeout_), [&] {
        takeAnswers(stream_.takeSubnegotiations(), answers);
        return answered(answers) >= awaited;
    });
    if (wait == Wait::Closed) return closed();
    if (wait == Wait::TimedOut)
        return Failure{NetworkFailure::SettingNotAnswered, QStringLiteral("%1 of %2 within %3 ms")
                                                               .arg(answered(answers))
                                                               .arg(awaited)
                                                               .arg(timeout_.count())};
    // The port settings must be the ones asked for; the control lines are
    // what the server's port can do (a port without modem lines cannot raise
    // DTR, and the register line works without it).
    for (const Asked& a : asked) {
        if (a.command == telnet::kSetControl) continue;
        const QByteArray value = *answers[a.command];
        if (value != a.value)
            return Failure{
                NetworkFailure::SettingRefused,
                QStringLiteral("%1 %2 asked, %3 set")
                    .arg(QString::fromLatin1(a.name), valueText(a.value), valueText(value))};
    }
    return std::nullopt;
}

}  // namespace tabulon::link
