#pragma once

#include <QElapsedTimer>
#include <QString>
#include <chrono>

#include "cli/cli_commands.h"
#include "transfer/run_parts.h"

namespace tabulon::cli {

// "goods: 1234 of 10000 records, 35.2 a second, 4:09 left"; the rate and the
// time left once there is something to reckon them from.
QString progressText(const QString& table, int done, int total, std::chrono::milliseconds elapsed);

// Counts the records a run has dealt with and, on a terminal, redraws the
// progress line: at most ten times a second, and at the last record.
class ProgressLine : public transfer::RunProgress {
public:
    ProgressLine(CliConsole& console, QString table, int total);

    void recordDone(int counter, int row) override;
    int dealtWith() const { return done_; }

private:
    CliConsole& console_;
    QString table_;
    int total_;
    int done_ = 0;
    QElapsedTimer clock_;
    qint64 drawnAt_ = -1;
};

}  // namespace tabulon::cli
