#include "cli/progress_line.h"

#include <cmath>

namespace tabulon::cli {

namespace {

QString duration(qint64 seconds) {
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const QString rest = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(rest);
    return QStringLiteral("%1:%2").arg(minutes).arg(rest);
}

}  // namespace

QString progressText(const QString& table, int done, int total, std::chrono::milliseconds elapsed) {
    QString text =
        QStringLiteral("%1: %2 of %3").arg(table).arg(done).arg(counted(total, u"record"));
    if (done <= 0 || elapsed.count() <= 0) return text;
    const double perSecond = done * 1000.0 / double(elapsed.count());
    // Rounded up: "0:00 left" only when nothing is left.
    const auto left = qint64(std::ceil((total - done) / perSecond));
    return text +
           QStringLiteral(", %1 a second, %2 left").arg(perSecond, 0, 'f', 1).arg(duration(left));
}

ProgressLine::ProgressLine(CliConsole& console, QString table, int total)
    : console_(console), table_(std::move(table)), total_(total) {
    clock_.start();
}

void ProgressLine::recordDone(int, int) {
    ++done_;
    console_.records(done_, total_);
    if (!console_.showsProgress()) return;
    const qint64 now = clock_.elapsed();
    if (done_ < total_ && drawnAt_ >= 0 && now - drawnAt_ < 100) return;
    drawnAt_ = now;
    console_.progress(progressText(table_, done_, total_, std::chrono::milliseconds(now)));
}

}  // namespace tabulon::cli
