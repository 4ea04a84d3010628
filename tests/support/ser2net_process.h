#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include "support/fake_server.h"

// Debian's ser2net in the foreground, serving one device (a tabulon-sim
// pseudo-terminal) on 127.0.0.1 through three accepters on free ports: raw
// TCP, Telnet with RFC 2217, and plain Telnet without it. The device's own
// settings are `connectorSpeed` baud, 8N2. Killed when the object goes.
class Ser2netProcess {
public:
    Ser2netProcess(const QString& device, int connectorSpeed) {
        for (quint16& port : ports_) port = tabulon::testing::LoopbackListener(1).port();
        const QString connector = QStringLiteral("  connector: serialdev,%1,%2n82,local\n")
                                      .arg(device)
                                      .arg(connectorSpeed);
        // kickolduser: a new connection (a reopened port) takes over from one
        // the server has not finished closing. nodelay and no chardelay: each
        // answer of the register goes out at once rather than held back to
        // gather more bytes (ser2net's defaults cost an exchange some 40 ms).
        // The accepters' tcp(nodelay=true) does the same for Nagle's delay.
        const QString options =
            QStringLiteral("  options:\n    kickolduser: true\n    chardelay: false\n");
        const char* accepters[] = {"tcp(nodelay=true)", "telnet(rfc2217),tcp(nodelay=true)",
                                   "telnet,tcp(nodelay=true)"};
        QString yaml = QStringLiteral("%YAML 1.1\n---\n");
        for (int i = 0; i < 3; ++i) {
            yaml += QStringLiteral("connection: &c%1\n  accepter: %2,127.0.0.1,%3\n")
                        .arg(i)
                        .arg(QString::fromLatin1(accepters[i]))
                        .arg(ports_[i]);
            yaml += connector + options;
        }
        config_ = dir_.filePath(QStringLiteral("ser2net.yaml"));
        {
            QFile file(config_);
            if (file.open(QIODevice::WriteOnly)) file.write(yaml.toUtf8());
        }
        start();
    }
    ~Ser2netProcess() { stop(); }
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    // The program, or empty when ser2net is not installed (scripts/deps.sh
    // installs it).
    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("ser2net")); }

    // Starts (again) on the same ports; true once all three listen.
    bool start() {
        stop();
        if (program().isEmpty()) return false;
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(program(), {QStringLiteral("-n"), QStringLiteral("-c"), config_,
                                   QStringLiteral("-P"), dir_.filePath(QStringLiteral("pid"))});
        if (!process_.waitForStarted(30000)) return false;
        const QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
            if (listening()) return true;
            QThread::msleep(20);
        }
        return false;
    }
    // Kills the server at once, as a crash or a power cut would.
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(30000);
    }

    QString raw() const { return address("tcp", 0); }
    QString rfc2217() const { return address("rfc2217", 1); }
    // Telnet without the COM-PORT option.
    QString telnetOnly() const { return address("rfc2217", 2); }
    // What ser2net said, for a failure's message.
    QString output() { return QString::fromLocal8Bit(process_.readAll()); }

private:
    QString address(const char* scheme, int i) const {
        return QStringLiteral("%1://127.0.0.1:%2").arg(QString::fromLatin1(scheme)).arg(ports_[i]);
    }

    // All three ports listen: /proc/net/tcp has them in state 0A. Looked up
    // there rather than connected to, which would open the device.
    bool listening() const {
        QFile table(QStringLiteral("/proc/net/tcp"));
        if (!table.open(QIODevice::ReadOnly)) return false;
        const QByteArray text = table.readAll();
        for (quint16 port : ports_) {
            const QByteArray local =
                "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
            bool found = false;
            for (const QByteArray& line : text.split('\n')) {
                const QList<QByteArray> fields = line.simplified().split(' ');
                if (fields.size() > 3 && fields[1] == local && fields[3] == "0A") found = true;
            }
            if (!found) return false;
        }
        return true;
    }

    QTemporaryDir dir_;
    QString config_;
    quint16 ports_[3] = {};
    QProcess process_;
};
