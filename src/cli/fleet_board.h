#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <mutex>

#include "cli/cli_commands.h"

namespace tabulon::cli {

// Where a fleet stands, for its summary line.
struct FleetTally {
    int registers = 0;  // in the run
    int done = 0;
    int failed = 0;
    int running = 0;
    qint64 recordsDealtWith = 0;  // by every register so far
    qint64 recordsLeft = 0;       // of the running registers
    int registersCounted = 0;     // registers whose run told its record total
    qint64 recordsCounted = 0;    // those totals
};

// "fleet: 120 done, 3 failed, 64 running, 69 waiting, about 4 min left". The
// time left is the records left at the rate of those dealt with so far (a
// waiting register taken as the registers counted so far on average), or,
// for commands that count no records, the registers left at the rate of
// those ended; "time left unknown" before either has begun.
QString fleetSummary(const FleetTally& tally, std::chrono::milliseconds elapsed);

// The board as drawn in `width` columns and `height` lines: the summary (on
// more than one line, broken after a comma, where it is wider), then the
// running registers' progress lines ("name: line") that fit below it.
QStringList boardLines(const QString& summary, const QList<std::pair<QString, QString>>& running,
                       int width, int height);

// Standard error while many registers run: on a terminal the fleet's
// summary line and the running registers' progress lines, kept at the
// bottom and redrawn in place; messages, each after its register's name,
// above them. Off a terminal only the messages. Any thread may call it.
class FleetBoard {
public:
    FleetBoard(std::FILE* stream, bool terminal, int registers);

    bool terminal() const { return terminal_; }
    // The register's run begins or has ended.
    void started(const QString& name);
    void ended(const QString& name, bool failed);
    // Sets the register's line (adds it at the bottom the first time).
    void progress(const QString& name, const QString& line);
    // The register's records dealt with of its run's total.
    void records(const QString& name, int dealtWith, int total);
    // Takes the register's line away.
    void drop(const QString& name);
    // "name: line" above the progress lines.
    void message(const QString& name, const QString& line);
    // Takes every line away, for what is printed after the run.
    void clear();

private:
    struct Running {
        QString name;
        QString line;  // empty until its run shows progress
        int dealtWith = 0;
        int total = -1;  // -1 until its run counts records
    };

    Running* find(const QString& name);
    FleetTally tally() const;
    void erase();
    void draw();
    // Draws again unless it was drawn less than a moment ago.
    void redrawInTurn();

    std::FILE* stream_;
    bool terminal_;
    int width_ = 0;   // columns a line may take
    int height_ = 0;  // lines the board may take
    std::mutex mutex_;
    FleetTally ended_;        // the counts of the registers that ended
    QList<Running> running_;  // in the order they began
    int drawn_ = 0;           // lines on the screen now
    QElapsedTimer sinceStart_;
    QElapsedTimer sinceDrawn_;
};

// One register's standard error, as its command sees it.
class FleetConsole : public CliConsole {
public:
    FleetConsole(FleetBoard& board, QString name) : board_(board), name_(std::move(name)) {}

    bool showsProgress() const override { return board_.terminal(); }
    void progress(const QString& line) override { board_.progress(name_, line); }
    void message(const QString& line) override { board_.message(name_, line); }
    void endProgress() override { board_.drop(name_); }
    void records(int dealtWith, int total) override { board_.records(name_, dealtWith, total); }

private:
    FleetBoard& board_;
    QString name_;
};

}  // namespace tabulon::cli
