#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <cstdio>
#include <mutex>

#include "cli/cli_commands.h"

namespace tabulon::cli {

// Standard error while many registers run: on a terminal one progress line
// per running register, kept at the bottom and redrawn in place; messages,
// each after its register's name, above them. Off a terminal only the
// messages. Any thread may call it.
class FleetBoard {
public:
    FleetBoard(std::FILE* stream, bool terminal);

    bool terminal() const { return terminal_; }
    // Sets the register's line (adds it at the bottom the first time).
    void progress(const QString& name, const QString& line);
    // Takes the register's line away.
    void drop(const QString& name);
    // "name: line" above the progress lines.
    void message(const QString& name, const QString& line);
    // Takes every line away, for what is printed after the run.
    void clear();

private:
    void erase();
    void draw();

    std::FILE* stream_;
    bool terminal_;
    int width_ = 0;   // columns a line may take
    int height_ = 0;  // lines the board may take
    std::mutex mutex_;
    QList<std::pair<QString, QString>> lines_;  // name, progress text
    int drawn_ = 0;                             // lines on the screen now
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

private:
    FleetBoard& board_;
    QString name_;
};

}  // namespace tabulon::cli
