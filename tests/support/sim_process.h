#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

// tabulon-sim running as a child process; path() is the pseudo-terminal it
// printed, empty when it did not start. With --listen it prints one address
// for each line it serves: `lines` of them are read, paths() has them in order
// (empty when fewer came).
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments, int lines = 1) {
        process_.start(QStringLiteral(TABULON_SIM_PATH), arguments);
        if (!process_.waitForStarted(30000)) return;
        QByteArray output;
        const QDeadlineTimer deadline(30000);
        while (output.count('\n') < lines && !deadline.hasExpired()) {
            if (!process_.waitForReadyRead(int(deadline.remainingTime()))) break;
            output += process_.readAllStandardOutput();
        }
        if (output.count('\n') < lines) return;
        const QList<QByteArray> printed = output.split('\n');
        for (int i = 0; i < lines; ++i) paths_ << QString::fromLocal8Bit(printed[i]);
    }
    ~SimProcess() {
        process_.kill();
        process_.waitForFinished(30000);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    QString path() const { return paths_.value(0); }
    const QStringList& paths() const { return paths_; }
    qint64 pid() const { return process_.processId(); }
    // Ends the register and gives what it said on standard error (with --log).
    QString stop() {
        process_.kill();
        process_.waitForFinished(30000);
        return QString::fromUtf8(process_.readAllStandardError());
    }

private:
    QProcess process_;
    QStringList paths_;
};
