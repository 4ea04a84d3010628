#include "cli/fleet_board.h"

#include <QtGlobal>
#ifndef Q_OS_WIN
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace tabulon::cli {

namespace {

// A line as wide as the terminal would wrap and move every line below it.
int terminalWidth(std::FILE* stream) {
#ifndef Q_OS_WIN
    winsize size{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 1)
        return size.ws_col - 1;
#else
    Q_UNUSED(stream);
#endif
    return 79;
}

// Progress lines are redrawn at most this often, however many registers
// move them.
constexpr qint64 kRedrawMs = 100;

}  // namespace

FleetBoard::FleetBoard(std::FILE* stream, bool terminal)
    : stream_(stream), terminal_(terminal), width_(terminal ? terminalWidth(stream) : 0) {
    sinceDrawn_.start();
}

void FleetBoard::write(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream_);
    std::fflush(stream_);
}

void FleetBoard::erase() {
    if (drawn_ > 0) write(QStringLiteral("\x1b[%1F\x1b[J").arg(drawn_));
    drawn_ = 0;
}

void FleetBoard::draw() {
    QString text;
    for (const auto& [name, line] : lines_)
        text += (name + QStringLiteral(": ") + line).left(width_) + QStringLiteral("\x1b[K\n");
    write(text);
    drawn_ = int(lines_.size());
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
    if (found && drawn_ == lines_.size() && sinceDrawn_.elapsed() < kRedrawMs) return;
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
    write(name + QStringLiteral(": ") + line + u'\n');
    if (terminal_) draw();
}

void FleetBoard::clear() {
    const std::lock_guard lock(mutex_);
    lines_.clear();
    erase();
}

}  // namespace tabulon::cli
