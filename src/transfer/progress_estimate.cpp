#include "transfer/progress_estimate.h"

#include "text/grouped_number.h"

namespace tabulon::transfer {

namespace {

using std::chrono::seconds;

// Before this, a rate is the first records' alone: the select of the first,
// a retry or two, and the estimate would jump about.
constexpr seconds kFirstEstimate{5};

QString timeLeftText(seconds left) {
    const qint64 total = left.count();
    if (total < 60) {
        // Seconds counted down one by one only flicker; fives are enough.
        const qint64 rounded = std::max<qint64>(5, (total + 4) / 5 * 5);
        if (rounded < 60) return QStringLiteral("%1 с").arg(rounded);
        return QStringLiteral("1 мин");
    }
    const qint64 minutes = (total + 59) / 60;
    if (minutes < 60) return QStringLiteral("%1 мин").arg(minutes);
    return QStringLiteral("%1 ч %2 мин")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString progressText(int done, int total, std::chrono::nanoseconds elapsed) {
    const QString line =
        QStringLiteral("%1 из %2").arg(text::groupedNumber(done), text::groupedNumber(total));
    if (done <= 0 || done >= total || elapsed < kFirstEstimate) return line;
    // The rate so far, over the records still to come; whole seconds are
    // plenty for a plan.
    const auto left = std::chrono::duration_cast<seconds>(elapsed * (total - done) / done);
    return line + QStringLiteral(" · ещё ≈ ") + timeLeftText(left);
}

ProgressTimer::ProgressTimer(std::shared_ptr<link::Clock> clock) : clock_(std::move(clock)) {}

void ProgressTimer::start() {
    const std::lock_guard lock(mutex_);
    start_ = clock_->now();
    pausedAt_.reset();
}

void ProgressTimer::pause() {
    const std::lock_guard lock(mutex_);
    if (!pausedAt_) pausedAt_ = clock_->now();
}

void ProgressTimer::resume() {
    const std::lock_guard lock(mutex_);
    if (!pausedAt_) return;
    // The start moves on by the pause, so the time before it still counts.
    start_ += clock_->now() - *pausedAt_;
    pausedAt_.reset();
}

std::chrono::nanoseconds ProgressTimer::elapsed() const {
    const std::lock_guard lock(mutex_);
    return (pausedAt_ ? *pausedAt_ : clock_->now()) - start_;
}

}  // namespace tabulon::transfer
