#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tabulon::fleet {

// How the command went on one register.
enum class Outcome {
    Done,     // every record done
    Failed,   // a record, the register or its port failed
    Refused,  // the command could not start for it (a file for another
              // model, say): nothing was sent to it
    Stopped,  // a signal ended its run
    NotRun,   // a signal came before its turn
};

// "done", "failed", "refused", "stopped", "not run".
QString outcomeWord(Outcome outcome);
std::optional<Outcome> outcomeFromWord(const QString& word);

// The line of the fleet's table for one register. The counts are unknown
// (nullopt) for a command that moves no records, such as detect.
struct RegisterOutcome {
    QString name;
    Outcome outcome = Outcome::NotRun;
    std::optional<int> done;
    std::optional<int> failed;
    std::optional<int> skipped;  // records the run never came to
    qint64 milliseconds = 0;
    QString reason;  // why it did not succeed; empty when it did
    // compare-table: the rows that differ; unknown when it did not read them all.
    std::optional<int> differ = std::nullopt;
};

// The table shown after a fleet command: a header and one line a register,
// columns padded to their widest cell. With `differ` (a comparison), a column
// of the rows that differ follows the counts.
QString fleetTable(const QList<RegisterOutcome>& outcomes, bool differ = false);

// The same as comma-separated values with a header line; the time in seconds
// with one decimal; cells quoted where they hold a comma, a quote or a line
// break. The last line counts the registers ("# 12 registers"), so that a
// report cut short is known for one.
QByteArray fleetCsv(const QList<RegisterOutcome>& outcomes, bool differ = false);

struct ReadReport {
    QList<RegisterOutcome> outcomes;
    QString error;  // set: the report could not be read
};

// A report fleetCsv wrote, read back (with or without its differ column); one without its last
// line, or whose count is not its number of lines, is refused.
ReadReport parseFleetCsv(const QByteArray& bytes);
ReadReport readFleetReport(const QString& path);

// Writes the report through a safe save; the error in the system's words.
std::optional<QString> writeFleetReport(const QString& path, const QList<RegisterOutcome>& outcomes,
                                        bool differ = false);

// The names of the registers a report says did not succeed.
QStringList unfinishedNames(const QList<RegisterOutcome>& outcomes);

}  // namespace tabulon::fleet
