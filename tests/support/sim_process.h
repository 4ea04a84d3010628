#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

// tabulon-sim running as a child process; path() is the pseudo-terminal it
// printed, empty when it did not start.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments) {
        process_.start(QStringLiteral(TABULON_SIM_PATH), arguments);
        if (!process_.waitForStarted(30000)) return;
        QByteArray output;
        const QDeadlineTimer deadline(30000);
        while (!output.contains('\n') && !deadline.hasExpired()) {
            if (!process_.waitForReadyRead(int(deadline.remainingTime()))) break;
            output += process_.readAllStandardOutput();
        }
        if (output.contains('\n'))
            path_ = QString::fromLocal8Bit(output.left(output.indexOf('\n')));
    }
    ~SimProcess() {
        process_.kill();
        process_.waitForFinished(30000);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const QString& path() const { return path_; }
    // Ends the register and gives what it said on standard error (with --log).
    QString stop() {
        process_.kill();
        process_.waitForFinished(30000);
        return QString::fromUtf8(process_.readAllStandardError());
    }

private:
    QProcess process_;
    QString path_;
};
