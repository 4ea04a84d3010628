#include "link/network_port.h"

#include <QDeadlineTimer>
#include <algorithm>

#include "link/telnet_stream.h"

namespace tabulon::link {

namespace {

// Writes have no time-out of their own; this only keeps a server that stopped
// reading from holding the program for good.
constexpr int kWriteStallMs = 10000;

int remaining(const QDeadlineTimer& deadline) {
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

}  // namespace

NetworkBytePort::NetworkBytePort(Timeouts timeouts) : timeouts_(timeouts) {}

NetworkBytePort::~NetworkBytePort() {
    if (socket_) socket_->abort();
}

void NetworkBytePort::fail(NetworkFailure failure, const QString& detail) {
    failure_ = failure;
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
    failure_.reset();
    if (socket_) socket_->abort();
    socket_.reset();
    comPort_.restart();
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
    // Unbuffered: a write goes to the system at once instead of waiting in
    // the socket for a flush that wakes its event dispatcher twice.
    socket_->connectToHost(address_.host, address_.port,
                           QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!socket_->waitForConnected(int(timeouts_.connect.count()))) {
        failConnect();
        return false;
    }
    // Every exchange is a few bytes each way, each waited for: Nagle's delay
    // would hold most of them back.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (telnet() && !negotiated(comPort_.open())) {
        socket_->abort();
        socket_.reset();
        return false;
    }
    return true;
}

bool NetworkBytePort::negotiated(const std::optional<ComPortNegotiation::Failure>& failure) {
    if (!failure) return true;
    if (failure->failure == NetworkFailure::ConnectionClosed)
        failClosed();
    else
        fail(failure->failure, failure->detail);
    return false;
}

bool NetworkBytePort::apply(const LineSettings& settings) {
    if (!isOpen()) {
        if (socket_) failClosed();
        return false;
    }
    // A raw port carries bytes only: its speed and framing are the server's.
    if (!telnet()) return true;
    return negotiated(comPort_.apply(settings));
}

bool NetworkBytePort::isOpen() const {
    // A connection the server has just closed can still say it is connected
    // while its system socket is gone: waiting on that one is a mistake.
    return socket_ && socket_->isValid() && socket_->state() == QAbstractSocket::ConnectedState;
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
    // Closed by the server: what it sent before is already in data_.
    if (!socket_ || !socket_->isOpen()) return dataRead_ < data_.size();
    // Read as it comes, without asking first how much there is: one call
    // to the system for each piece of a reply instead of three.
    char piece[4096];
    for (;;) {
        const qint64 got = socket_->read(piece, sizeof piece);
        if (got <= 0) break;
        const QByteArrayView bytes(piece, got);
        if (tap_) tap_->received(bytes);
        if (telnet())
            comPort_.receive(bytes, data_);
        else
            data_ += bytes;
        if (got < qint64(sizeof piece)) break;
    }
    return isOpen() || dataRead_ < data_.size();
}

bool NetworkBytePort::waitForMore(int ms) {
    if (!isOpen()) return false;
    if (socket_->waitForReadyRead(ms)) return true;
    if (!isOpen() && error_.isEmpty()) fail(NetworkFailure::ConnectionClosed);
    return false;
}

ComPortNegotiation::Connection::Wait NetworkBytePort::waitUntil(const QDeadlineTimer& deadline,
                                                                const std::function<bool()>& done) {
    // The system is read after a wait, not before it: an answer still on its
    // way would cost a read that finds nothing. A Telnet command alone wakes
    // the wait without anything `done` looks for: it waits on.
    for (;;) {
        if (done()) return Wait::Done;
        const bool more = !deadline.hasExpired() && waitForMore(remaining(deadline));
        if (!takeReceived()) return Wait::Closed;
        if (done()) return Wait::Done;
        if (!more) {
            if (!isOpen()) return Wait::Closed;
            if (deadline.hasExpired()) return Wait::TimedOut;
        }
    }
}

std::optional<std::uint8_t> NetworkBytePort::readByte() {
    if (!socket_) return std::nullopt;
    const auto unread = [this] { return dataRead_ < data_.size(); };
    // Bytes already taken in are read without asking the system again: a
    // reply comes in a few pieces, each of many bytes.
    if (!unread() && waitUntil(QDeadlineTimer(timeouts_.read), unread) != Wait::Done) {
        // What came with the end of the connection or the deadline is still read.
        takeReceived();
        if (!unread()) return std::nullopt;
    }
    const auto byte = std::uint8_t(data_[dataRead_++]);
    if (dataRead_ == data_.size()) {
        data_.clear();
        dataRead_ = 0;
    }
    return byte;
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
