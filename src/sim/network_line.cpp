#include "sim/network_line.h"

#include <QHostAddress>
#include <QHostInfo>
#include <algorithm>

#include "sim/line_state.h"

namespace tabulon::sim {

namespace {

// What the server listens on: an address as it is, a name looked up.
QHostAddress hostAddress(const QString& host) {
    if (QHostAddress address(host); !address.isNull()) return address;
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0) return QHostAddress::LocalHost;
    const QList<QHostAddress> found = QHostInfo::fromName(host).addresses();
    return found.isEmpty() ? QHostAddress() : found.first();
}

// What a line holds of a client's bytes not yet taken in, and of its own not
// yet taken by the client. Past it bytes are lost, as on a serial line
// overrun: a client that sends faster than the line carries, or reads nothing
// of what it asked for, cannot fill the simulator's memory. They are still
// read, not left in the socket, so that a client that goes is seen going.
constexpr qsizetype kBacklog = 64 * 1024;

// How soon a line tries again to take a connection it could not (the process
// out of file descriptors): Qt stops accepting on such an error for good.
constexpr std::chrono::milliseconds kAcceptAgain{50};

}  // namespace

NetworkLine::NetworkLine(const link::NetworkAddress& address, const SimOptions& options,
                         std::FILE* log, bool named)
    : asked_(address),
      options_(options),
      log_(log),
      named_(named),
      bus_(busFromOptions(options, log ? &journal_ : nullptr)),
      refuse_(options.faults.refuseConnections),
      timing_(options) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &NetworkLine::pump);
    connect(&server_, &QTcpServer::newConnection, this, &NetworkLine::accept);
    // The connection waits in the system's queue meanwhile, and is taken once
    // another client has gone and given its descriptor back.
    connect(&server_, &QTcpServer::acceptError, this, [this] {
        if (!acceptAgain_.isActive() && !std::exchange(cannotAccept_, true))
            say(qPrintable(QStringLiteral("connection not taken yet: ") + server_.errorString()));
        acceptAgain_.start();
    });
    acceptAgain_.setSingleShot(true);
    acceptAgain_.setInterval(kAcceptAgain);
    connect(&acceptAgain_, &QTimer::timeout, &server_, &QTcpServer::resumeAccepting);
}

NetworkLine::~NetworkLine() = default;

bool NetworkLine::listen(QString& error) {
    const QHostAddress host = hostAddress(asked_.host);
    if (host.isNull()) {
        error = QStringLiteral("host not found");
        return false;
    }
    if (!server_.listen(host, asked_.port)) {
        error = server_.errorString();
        return false;
    }
    if (named_) logPrefix_ = link::networkAddressText(address()) + QStringLiteral(": ");
    return true;
}

link::NetworkAddress NetworkLine::address() const {
    link::NetworkAddress address = asked_;
    address.host = server_.serverAddress().toString();
    address.port = server_.serverPort();
    return address;
}

void NetworkLine::say(const char* text) {
    if (!log_) return;
    std::fprintf(log_, "%s%s\n", qPrintable(logPrefix_), text);
    std::fflush(log_);
}

void NetworkLine::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        cannotAccept_ = false;
        // A port that someone else holds says so and hangs up, in ser2net's
        // words, which the program shows; a refusing server closes without one.
        if (client_) {
            say("connection closed: the line is taken");
            if (comPort_) socket->write(ComPortServer().greeting());
            socket->write("Port already in use\r\n");
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            continue;
        }
        if (refuse_.fire()) {
            say("connection refused");
            socket->close();
            socket->deleteLater();
            continue;
        }
        client_ = socket;
        socket->setReadBufferSize(kBacklog);
        // Each answer goes out as soon as it is due, not held back to gather more.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &NetworkLine::read);
        connect(socket, &QTcpSocket::disconnected, this, &NetworkLine::drop);
        say("connected");
        if (asked_.kind == link::NetworkAddress::Kind::Rfc2217) {
            comPort_.emplace();
            socket->write(comPort_->greeting());
        }
    }
}

void NetworkLine::drop() {
    if (!client_) return;
    client_->deleteLater();
    client_ = nullptr;
    // What was on its way to the client is lost with it; the registers
    // remember what they were doing, as on a pulled cable.
    comPort_.reset();
    shown_.reset();
    inbox_.clear();
    outbox_.clear();
    timer_.stop();
    timing_.cutOff();
    say("disconnected");
}

void NetworkLine::read() {
    while (client_ && client_->bytesAvailable() > 0) {
        const QByteArray bytes = client_->read(kBacklog);
        std::optional<link::LineSettings> state;
        QByteArray data;
        if (comPort_) {
            const QByteArray replies = comPort_->receive(bytes, data);
            send(replies);
            state = comPort_->settings();
            // Told once the client has set the line (its speed first).
            if (log_ && state->baudRate != 0 && state != shown_) {
                std::fprintf(log_, "%sline: %s\n", qPrintable(logPrefix_),
                             qPrintable(lineStateText(*state)));
                std::fflush(log_);
                shown_ = state;
            }
        } else {
            data = bytes;
        }
        if (data.isEmpty() || !hearsLine(options_.speed, state)) continue;
        inbox_ += QByteArrayView(data).first(
            std::clamp(kBacklog - inbox_.size(), qsizetype(0), data.size()));
        pump();
    }
}

void NetworkLine::send(const QByteArray& bytes) {
    if (client_->bytesToWrite() < kBacklog) client_->write(bytes);
}

void NetworkLine::pump() {
    // One direction at a time, as on the pseudo-terminal: what came in while
    // the register was answering is taken in once the answer is out. The
    // register takes what it hears at once; its answer leaves when the line
    // has carried all of it in.
    const LineClock::time_point now = LineClock::now();
    while (client_) {
        if (!outbox_.empty()) {
            if (outbox_.front().due > now) {
                timer_.start(
                    std::chrono::ceil<std::chrono::milliseconds>(outbox_.front().due - now));
                return;
            }
            const QByteArray& bytes = outbox_.front().bytes;
            send(comPort_ ? link::telnet::escaped(bytes) : bytes);
            outbox_.pop_front();
        } else if (!inbox_.isEmpty()) {
            const LineClock::time_point heard = timing_.arrival(now, inbox_.size());
            answer(std::exchange(inbox_, {}), heard);
        } else {
            return;
        }
    }
}

void NetworkLine::answer(const QByteArray& bytes, LineClock::time_point heard) {
    const QByteArray answer = bus_->receive(timing_.heard(bytes, heard));
    if (log_) {
        for (const QString& line : journal_)
            std::fprintf(log_, "%s%s\n", qPrintable(logPrefix_), qPrintable(line));
        std::fflush(log_);
        journal_.clear();
    }
    QList<TimedBytes> out = timing_.spoken(answer, heard);
    const LineClock::time_point said = out.isEmpty() ? heard : out.last().due;
    if (const QByteArray late = bus_->takeLateOutput(); !late.isEmpty()) {
        say("late reply sent");
        out += timing_.spoken(late, said + kLateReplyDelay);
    }
    outbox_.insert(outbox_.end(), out.begin(), out.end());
}

}  // namespace tabulon::sim
