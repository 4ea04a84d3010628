#include "cli/fleet_board.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <tuple>
#ifndef Q_OS_WIN
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "cli/print.h"

namespace tabulon::cli {

namespace {

// The terminal's columns and rows. A line as wide as the terminal would wrap,
// and more lines than it has rows would scroll, either moving the lines the
// board redraws in place.
std::pair<int, int> terminalSize(std::FILE* stream) {
#ifndef Q_OS_WIN
    winsize size{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 1 && size.ws_row > 2)
        return {size.ws_col - 1, size.ws_row - 1};
#else
    Q_UNUSED(stream);
#endif
    return {79, 23};
}

// Progress lines are redrawn at most this often, however many registers
// move them.
constexpr qint64 kRedrawMs = 100;

// "about 40 s left", "about 4 min left", "about 2 h 5 min left": a fleet's
// time left is a rough guess, said roughly. Rounded up, as a wait is.
QString timeLeft(double seconds) {
    const auto whole = qint64(std::ceil(std::max(seconds, 1.0)));
    if (whole < 60) return QStringLiteral("about %1 s left").arg(whole);
    const qint64 minutes = (whole + 59) / 60;
    if (minutes < 60) return QStringLiteral("about %1 min left").arg(minutes);
    return QStringLiteral("about %1 h %2 min left").arg(minutes / 60).arg(minutes % 60);
}

}  // namespace

QString fleetSummary(const FleetTally& tally, std::chrono::milliseconds elapsed) {
    const int ended = tally.done + tally.failed;
    const int waiting = std::max(0, tally.registers - ended - tally.running);
    QString left = QStringLiteral("time left unknown");
    const double seconds = double(elapsed.count()) / 1000.0;
    if (tally.recordsDealtWith > 0 && tally.registersCounted > 0 && seconds > 0) {
        const double perWaiting = double(tally.recordsCounted) / tally.registersCounted;
        const double records = double(tally.recordsLeft) + waiting * perWaiting;
        left = timeLeft(records * seconds / double(tally.recordsDealtWith));
    } else if (ended > 0 && seconds > 0) {
        left = timeLeft((tally.running + waiting) * seconds / ended);
    }
    return QStringLiteral("fleet: %1 done, %2 failed, %3 running, %4 waiting, %5")
        .arg(tally.done)
        .arg(tally.failed)
        .arg(tally.running)
        .arg(waiting)
        .arg(left);
}

namespace {

// The summary in lines of `width`, broken after its commas: cut at the
// width, a narrow terminal would keep its counts and lose the time left,
// the part one looks at the board for.
QStringList summaryLines(const QString& summary, int width) {
    const QStringList parts = summary.split(QStringLiteral(", "));
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = i + 1 < parts.size() ? parts[i] + u',' : parts[i];
        if (line.isEmpty()) {
            line = part;
        } else if (line.size() + 1 + part.size() <= width) {
            line += u' ' + part;
        } else {
            lines << line.left(width);
            line = part;
        }
    }
    lines << line.left(width);
    return lines;
}

}  // namespace

QStringList boardLines(const QString& summary, const QList<std::pair<QString, QString>>& running,
                       int width, int height) {
    QStringList lines = summaryLines(summary, width).mid(0, std::max(1, height));
    for (const auto& [name, line] : running) {
        if (lines.size() >= height) break;
        lines << (name + QStringLiteral(": ") + line).left(width);
    }
    return lines;
}

FleetBoard::FleetBoard(std::FILE* stream, bool terminal, int registers)
    : stream_(stream), terminal_(terminal) {
    if (terminal_) std::tie(width_, height_) = terminalSize(stream);
    ended_.registers = registers;
    sinceStart_.start();
    sinceDrawn_.start();
}

FleetBoard::Running* FleetBoard::find(const QString& name) {
    for (Running& entry : running_) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

FleetTally FleetBoard::tally() const {
    FleetTally now = ended_;
    now.running = int(running_.size());
    for (const Running& entry : running_) {
        now.recordsDealtWith += entry.dealtWith;
        if (entry.total < 0) continue;
        now.recordsLeft += entry.total - entry.dealtWith;
        now.recordsCounted += entry.total;
        ++now.registersCounted;
    }
    return now;
}

void FleetBoard::erase() {
    if (drawn_ > 0) print(stream_, QStringLiteral("\x1b[%1F\x1b[J").arg(drawn_));
    drawn_ = 0;
}

void FleetBoard::draw() {
    QList<std::pair<QString, QString>> shown;
    for (const Running& entry : running_) {
        if (!entry.line.isEmpty()) shown.append({entry.name, entry.line});
    }
    const QStringList lines =
        boardLines(fleetSummary(tally(), std::chrono::milliseconds(sinceStart_.elapsed())), shown,
                   width_, height_);
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\x1b[K\n");
    print(stream_, text);
    drawn_ = int(lines.size());
    sinceDrawn_.restart();
}

void FleetBoard::redrawInTurn() {
    // Hundreds of registers start and end within moments of each other: a
    // redraw for each would hold every one of them up behind the terminal.
    if (!terminal_ || sinceDrawn_.elapsed() < kRedrawMs) return;
    erase();
    draw();
}

void FleetBoard::started(const QString& name) {
    const std::lock_guard lock(mutex_);
    running_.append(Running{name, QString(), 0, -1});
    redrawInTurn();
}

void FleetBoard::ended(const QString& name, bool failed) {
    const std::lock_guard lock(mutex_);
    const Running* entry = find(name);
    if (!entry) return;
    ++(failed ? ended_.failed : ended_.done);
    ended_.recordsDealtWith += entry->dealtWith;
    if (entry->total >= 0) {
        ended_.recordsCounted += entry->total;
        ++ended_.registersCounted;
    }
    running_.removeIf([&](const Running& r) { return r.name == name; });
    redrawInTurn();
}

void FleetBoard::records(const QString& name, int dealtWith, int total) {
    const std::lock_guard lock(mutex_);
    if (Running* entry = find(name)) {
        entry->dealtWith = dealtWith;
        entry->total = total;
    }
}

void FleetBoard::progress(const QString& name, const QString& line) {
    if (!terminal_) return;
    const std::lock_guard lock(mutex_);
    Running* entry = find(name);
    if (!entry) return;
    entry->line = line;
    redrawInTurn();
}

void FleetBoard::drop(const QString& name) {
    if (!terminal_) return;
    const std::lock_guard lock(mutex_);
    Running* entry = find(name);
    if (!entry || entry->line.isEmpty()) return;
    entry->line.clear();
    erase();
    draw();
}

void FleetBoard::message(const QString& name, const QString& line) {
    const std::lock_guard lock(mutex_);
    erase();
    print(stream_, name + QStringLiteral(": ") + line + u'\n');
    if (terminal_) draw();
}

void FleetBoard::clear() {
    const std::lock_guard lock(mutex_);
    running_.clear();
    erase();
}

}  // namespace tabulon::cli
