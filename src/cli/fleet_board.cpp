#include "cli/fleet_board.h"

#include <QtGlobal>
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

}  // namespace

FleetBoard::FleetBoard(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {
    if (terminal_) std::tie(width_, height_) = terminalSize(stream);
    sinceDrawn_.start();
}

void FleetBoard::erase() {
    if (drawn_ > 0) print(stream_, QStringLiteral("\x1b[%1F\x1b[J").arg(drawn_));
    drawn_ = 0;
}

void FleetBoard::draw() {
    QStringList shown;
    for (const auto& [name, line] : lines_) shown << name + QStringLiteral(": ") + line;
    if (shown.size() > height_) {
        const qsizetype more = shown.size() - (height_ - 1);
        shown.resize(height_ - 1);
        shown << QStringLiteral("and %1 more running").arg(more);
    }
    QString text;
    for (const QString& line : shown) text += line.left(width_) + QStringLiteral("\x1b[K\n");
    print(stream_, text);
    drawn_ = int(shown.size());
    sinceDrawn_.restart();
}

void FleetBoard::progress(const QString& name, const QString& line) {
    if (!terminal_) return;
    const std::lock_guard lock(mutex_);
    bool found = false;
    for (auto& [who, text] : lines_) {
        if (who == name) {
            text = line;
            found = true;
        }
    }
    if (!found) lines_.append({name, line});
    // A new line is shown at once; a moving one when its turn comes.
    if (found && sinceDrawn_.elapsed() < kRedrawMs) return;
    erase();
    draw();
}

void FleetBoard::drop(const QString& name) {
    if (!terminal_) return;
    const std::lock_guard lock(mutex_);
    const qsizetype before = lines_.size();
    lines_.removeIf([&](const auto& line) { return line.first == name; });
    if (lines_.size() == before) return;
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
    lines_.clear();
    erase();
}

}  // namespace tabulon::cli
