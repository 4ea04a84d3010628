#pragma once

// A network server of the test's own on a free loopback port, for what a real
// serial server does not do on request: stay silent, drop bytes, refuse an
// option, hang up. POSIX sockets: blocking calls on a thread of its own keep
// the script a plain sequence of sends and receives.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <functional>
#include <thread>

namespace tabulon::testing {

// A socket listening on a free loopback port; -1 when the system refused.
class LoopbackListener {
public:
    // backlog: how many connections wait to be taken before a new one's SYN
    // goes unanswered.
    explicit LoopbackListener(int backlog) {
        address_.sin_family = AF_INET;
        address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        socklen_t length = sizeof address_;
        auto* address = reinterpret_cast<sockaddr*>(&address_);
        if (::bind(socket_, address, length) != 0 || ::listen(socket_, backlog) != 0 ||
            ::getsockname(socket_, address, &length) != 0) {
            ::close(socket_);
            socket_ = -1;
        }
    }
    ~LoopbackListener() {
        if (socket_ != -1) ::close(socket_);
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int socket() const { return socket_; }
    const sockaddr_in& address() const { return address_; }
    quint16 port() const { return ntohs(address_.sin_port); }

private:
    int socket_ = -1;
    sockaddr_in address_{};
};

// The one connection a FakeServer took, as its script sees it.
class FakeConnection {
public:
    explicit FakeConnection(int socket) : socket_(socket) {}

    void send(const QByteArray& bytes) {
        ::send(socket_, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    }
    // What came next; empty once the client has closed.
    QByteArray receive() {
        char bytes[512];
        const ssize_t n = ::recv(socket_, bytes, sizeof bytes, 0);
        return n > 0 ? QByteArray(bytes, int(n)) : QByteArray();
    }
    // Receives until what came holds `bytes`; false when the client closed first.
    bool receiveUntil(const QByteArray& bytes) {
        for (QByteArray heard; !heard.contains(bytes);) {
            const QByteArray more = receive();
            if (more.isEmpty()) return false;
            heard += more;
        }
        return true;
    }
    // Throws away what has come so far, without waiting for more.
    void dropReceived() {
        char bytes[512];
        while (::recv(socket_, bytes, sizeof bytes, MSG_DONTWAIT) > 0) {
        }
    }
    // Takes in whatever comes until the client closes.
    void waitForClose() {
        while (!receive().isEmpty()) {
        }
    }
    // Says no more, and waits until the client has closed too.
    void hangUp() {
        ::shutdown(socket_, SHUT_WR);
        waitForClose();
    }

private:
    int socket_;
};

// Takes one connection and runs `script` on it on a thread of its own; the
// connection closes when the script returns. The test closes its client
// before the server goes: the server waits for the script to end.
class FakeServer {
public:
    explicit FakeServer(std::function<void(FakeConnection&)> script) : listener_(1) {
        thread_ = std::thread([this, script = std::move(script)] {
            const int socket = ::accept(listener_.socket(), nullptr, nullptr);
            if (socket < 0) return;
            FakeConnection connection(socket);
            script(connection);
            ::close(socket);
        });
    }
    ~FakeServer() {
        // A client that never came leaves the accept waiting: this ends it.
        ::shutdown(listener_.socket(), SHUT_RDWR);
        thread_.join();
    }
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    bool listening() const { return listener_.socket() != -1; }
    QString rfc2217() const {
        return QStringLiteral("rfc2217://127.0.0.1:%1").arg(listener_.port());
    }

private:
    LoopbackListener listener_;
    std::thread thread_;
};

}  // namespace tabulon::testing
