#include "link/network_port.h"

#include <QDeadlineTimer>
#include <QtEndian>
#include <algorithm>
#include <array>

namespace tabulon::link {

namespace {

// Writes have no time-out of their own; this only keeps a server that stopped
// reading from holding the program for good.
constexpr int kWriteStallMs = 10000;

// How long a Telnet server is given to greet before the options are asked for.
constexpr std::chrono::milliseconds kGreetingWait{500};

int remaining(const QDeadlineTimer& deadline) {
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

std::uint8_t parityCode(char parity) {
    switch (parity) {
        case 'O':
            return 2;
        case 'E':
            return 3;
        case 'M':
            return 4;
        case 'S':
            return 5;
        default:
            return 1;
    }
}

QByteArray oneByte(std::uint8_t value) {
    return QByteArray(1, char(value));
}

// COM-PORT-CONTROL's own values for flow control and DTR.
constexpr std::uint8_t kNoFlowControl = 1;
constexpr std::uint8_t kDtrOn = 8;
constexpr std::uint8_t kDtrOff = 9;

}  // namespace

NetworkBytePort::NetworkBytePort(Timeouts timeouts) : timeouts_(timeouts) {}

NetworkBytePort::~NetworkBytePort() {
    if (socket_) socket_->abort();
}

void NetworkBytePort::fail(NetworkFailure failure, const QString& detail) {
    error_ = networkFailureWords(failure);
    if (!detail.isEmpty()) error_ += QStringLiteral(" (%1)").arg(detail);
}

void NetworkBytePort::failConnect() {
    const QString where = QStringLiteral("%1:%2").arg(address_.host).arg(address_.port);
    switch (socket_->error()) {
        case QAbstractSocket::HostNotFoundError:
            fail(NetworkFailure::HostNotFound, address_.host);
            break;
        case QAbstractSocket::ConnectionRefusedError:
            fail(NetworkFailure::ConnectionRefused, where);
            break;
        case QAbstractSocket::RemoteHostClosedError:
            fail(NetworkFailure::ConnectionClosed, where);
            break;
        case QAbstractSocket::SocketTimeoutError:
        case QAbstractSocket::UnknownSocketError:
            fail(NetworkFailure::NoAnswer,
                 QStringLiteral("%1, %2 ms").arg(where).arg(timeouts_.connect.count()));
            break;
        default:
            error_ = QStringLiteral("%1: %2").arg(where, socket_->errorString());
            break;
    }
    socket_->abort();
    socket_.reset();
}

void NetworkBytePort::failClosed() {
    // A server that hangs up on opening may say why first, in words (ser2net
    // does when another client holds its port): they are what the person can
    // act on. Bytes that are not a line of text are not words.
    QByteArray said = data_.mid(dataRead_).trimmed();
    const bool words =
        !said.isEmpty() && said.size() <= 200 && std::all_of(said.begin(), said.end(), [](char c) {
            return (c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n' || c == '\t';
        });
    fail(NetworkFailure::ConnectionClosed,
         words ? QString::fromLatin1(said).simplified() : QString());
}

bool NetworkBytePort::open(const QString& address) {
    error_.clear();
    if (socket_) socket_->abort();
    socket_.reset();
    stream_ = telnet::Stream();
    data_.clear();
    dataRead_ = 0;
    const std::optional<NetworkAddress> parsed = parseNetworkAddress(address);
    if (!parsed) {
        fail(NetworkFailure::NotAnAddress, address);
        return false;
    }
    address_ = *parsed;
    // Made by the thread that opens, as the serial port is: a socket serves
    // only the thread it belongs to.
    socket_ = std::make_unique<QTcpSocket>();
    socket_->connectToHost(address_.host, address_.port);
    if (!socket_->waitForConnected(int(timeouts_.connect.count()))) {
        failConnect();
        return false;
    }
    // Every exchange is a few bytes each way, each waited for: Nagle's delay
    // would hold most of them back.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (telnet() && !negotiateComPort()) {
        socket_->abort();
        socket_.reset();
        return false;
    }
    return true;
}

bool NetworkBytePort::negotiateComPort() {
    // A server may take in nothing until its own side of the connection is
    // up (ser2net opens the serial device first, and drops what came before
    // its greeting): the options are asked for once it has greeted, or once
    // it has kept quiet for a while.
    const QDeadlineTimer deadline(timeouts_.negotiation);
    const QDeadlineTimer greeting(std::min(timeouts_.negotiation, kGreetingWait));
    while (!greeting.hasExpired() && socket_->bytesAvailable() == 0 &&
           waitForMore(remaining(greeting))) {
    }
    if (!takeReceived()) {
        failClosed();
        return false;
    }
    send(stream_.opening(true));
    for (;;) {
        if (!takeReceived()) {
            failClosed();
            return false;
        }
        if (stream_.localEnabled(telnet::kComPort)) {
            // Agreed in the greeting of a server that hung up right after it.
            if (isOpen()) return true;
            failClosed();
            return false;
        }
        if (stream_.localRefused(telnet::kComPort)) {
            fail(NetworkFailure::OptionRefused);
            return false;
        }
        if (deadline.hasExpired() || !waitForMore(remaining(deadline))) {
            if (!isOpen()) {
                failClosed();
                return false;
            }
            if (!deadline.hasExpired()) continue;
            fail(NetworkFailure::OptionNotAnswered,
                 QStringLiteral("%1 ms").arg(timeouts_.negotiation.count()));
            return false;
        }
    }
}

bool NetworkBytePort::apply(const LineSettings& settings) {
    if (!isOpen()) {
        if (socket_) failClosed();
        return false;
    }
    // A raw port carries bytes only: its speed and framing are the server's.
    if (!telnet()) return true;
    return confirmSettings(settings);
}

bool NetworkBytePort::confirmSettings(const LineSettings& settings) {
    QByteArray baud(4, '\0');
    qToBigEndian<quint32>(quint32(settings.baudRate), baud.data());
    const std::uint8_t stopSize = settings.stopBits == 2 ? 2 : 1;
    struct Asked {
        std::uint8_t command;
        QByteArray value;
        const char* name;
    };
    const QList<Asked> asked = {
        {telnet::kSetBaudRate, baud, "speed"},
        {telnet::kSetDataSize, oneByte(std::uint8_t(settings.dataBits)), "data bits"},
        {telnet::kSetParity, oneByte(parityCode(settings.parity)), "parity"},
        {telnet::kSetStopSize, oneByte(stopSize), "stop bits"},
        {telnet::kSetControl, oneByte(kNoFlowControl), "flow control"},
        {telnet::kSetControl, oneByte(settings.dataTerminalReady ? kDtrOn : kDtrOff), "DTR"},
    };
    stream_.takeSubnegotiations();
    collectingAnswers_ = true;
    const struct Stop {
        bool& flag;
        ~Stop() { flag = false; }
    } stop{collectingAnswers_};
    QByteArray commands;
    for (const Asked& a : asked) commands += telnet::comPortCommand(a.command, a.value);
    send(commands);

    // The server answers each command with the value it set; a server may
    // answer one twice, or tell of its port between the answers, so each
    // setting stands by the last answer it got. DTR is asked for last and
    // its answer not awaited: a server port without modem lines (ser2net on a
    // pseudo-terminal) leaves it unanswered, and the register line works
    // without it, as it does on a local port that cannot raise it. One answer
    // to the control commands (the flow control's) is awaited.
    std::array<std::optional<QByteArray>, telnet::kSetControl + 1> answers;
    const auto answered = [&] {
        return int(std::count_if(answers.begin(), answers.end(),
                                 [](const auto& a) { return a.has_value(); }));
    };
    const int awaited = telnet::kSetControl;
    const QDeadlineTimer deadline(timeouts_.negotiation);
    while (answered() < awaited) {
        if (!takeReceived()) {
            failClosed();
            return false;
        }
        for (const telnet::Subnegotiation& sub : stream_.takeSubnegotiations()) {
            if (sub.option != telnet::kComPort || sub.payload.isEmpty()) continue;
            const std::uint8_t command = std::uint8_t(sub.payload[0]) - telnet::kServerOffset;
            if (command < telnet::kSetBaudRate || command > telnet::kSetControl) continue;
            answers[command] = sub.payload.mid(1);
        }
        if (answered() >= awaited) break;
        if (deadline.hasExpired() || !waitForMore(remaining(deadline))) {
            if (!isOpen()) {
                failClosed();
                return false;
            }
            if (!deadline.hasExpired()) continue;
            fail(NetworkFailure::SettingNotAnswered, QStringLiteral("%1 of %2 within %3 ms")
                                                         .arg(answered())
                                                         .arg(awaited)
                                                         .arg(timeouts_.negotiation.count()));
            return false;
        }
    }
    // The port settings must be the ones asked for; the control lines are
    // what the server's port can do (a port without modem lines cannot raise
    // DTR, and the register line works without it).
    for (const Asked& a : asked) {
        if (a.command == telnet::kSetControl) continue;
        const QByteArray value = *answers[a.command];
        if (value != a.value) {
            const auto number = [&](const QByteArray& bytes) {
                return bytes.size() == 4   ? QString::number(qFromBigEndian<quint32>(bytes.data()))
                       : bytes.size() == 1 ? QString::number(uchar(bytes[0]))
                                           : QString::fromLatin1(bytes.toHex());
            };
            fail(NetworkFailure::SettingRefused,
                 QStringLiteral("%1 %2 asked, %3 set")
                     .arg(QString::fromLatin1(a.name), number(a.value), number(value)));
            return false;
        }
    }
    return true;
}

bool NetworkBytePort::isOpen() const {
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void NetworkBytePort::send(const QByteArray& bytes) {
    if (!isOpen() || bytes.isEmpty()) return;
    const qint64 written = socket_->write(bytes);
    if (tap_ && written > 0) tap_->sent(QByteArrayView(bytes).first(written));
    flush();
}

void NetworkBytePort::flush() {
    // The socket only queues; without an event loop the bytes leave here.
    while (isOpen() && socket_->bytesToWrite() > 0) {
        if (!socket_->waitForBytesWritten(kWriteStallMs)) break;
    }
}

void NetworkBytePort::write(QByteArrayView bytes) {
    if (!isOpen() || bytes.isEmpty()) return;
    send(telnet() ? telnet::escaped(bytes) : bytes.toByteArray());
}

bool NetworkBytePort::takeReceived() {
    if (!socket_) return false;
    if (socket_->bytesAvailable() > 0) {
        const QByteArray bytes = socket_->readAll();
        if (tap_) tap_->received(bytes);
        if (telnet()) {
            stream_.receive(bytes, data_);
            send(stream_.takeReplies());
            // Outside the settings' confirmations nothing the server says of
            // its port (modem and line state notices) is needed.
            if (!collectingAnswers_) stream_.takeSubnegotiations();
        } else {
            data_ += bytes;
        }
    }
    return isOpen() || dataRead_ < data_.size();
}

bool NetworkBytePort::waitForMore(int ms) {
    if (!isOpen()) return false;
    if (socket_->waitForReadyRead(ms)) return true;
    if (!isOpen() && error_.isEmpty()) fail(NetworkFailure::ConnectionClosed);
    return false;
}

std::optional<std::uint8_t> NetworkBytePort::readByte() {
    if (!socket_) return std::nullopt;
    const QDeadlineTimer deadline(timeouts_.read);
    for (;;) {
        takeReceived();
        if (dataRead_ < data_.size()) {
            const auto byte = std::uint8_t(data_[dataRead_++]);
            if (dataRead_ == data_.size()) {
                data_.clear();
                dataRead_ = 0;
            }
            return byte;
        }
        // A Telnet command alone wakes the wait without a data byte: wait on.
        if (deadline.hasExpired() || !waitForMore(remaining(deadline))) {
            takeReceived();
            if (dataRead_ < data_.size()) continue;
            return std::nullopt;
        }
    }
}

void NetworkBytePort::drain() {
    if (socket_) flush();
}

void NetworkBytePort::discardInput() {
    if (!isOpen()) return;
    // Bytes the socket has not fetched yet are still in the system; take them
    // first, then drop them with the rest. Telnet requests among them are
    // still answered.
    takeReceived();
    socket_->waitForReadyRead(0);
    takeReceived();
    data_.clear();
    dataRead_ = 0;
}

bool NetworkBytePort::close() {
    if (!socket_) return true;
    flush();
    socket_->disconnectFromHost();
    if (socket_->state() != QAbstractSocket::UnconnectedState &&
        !socket_->waitForDisconnected(int(timeouts_.negotiation.count())))
        socket_->abort();
    socket_.reset();
    data_.clear();
    dataRead_ = 0;
    return true;
}

}  // namespace tabulon::link
