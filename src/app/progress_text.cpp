#include "app/progress_text.h"

#include <QProgressBar>

#include "app/register_session.h"
#include "transfer/progress_estimate.h"

namespace tabulon::app {

std::shared_ptr<transfer::ProgressTimer> startedTimer(RegisterSession& session) {
    auto timer = std::make_shared<transfer::ProgressTimer>(session.progressClock());
    timer->start();
    session.setJobTimer(timer);
    return timer;
}

void showProgress(QProgressBar& bar, int value, int done, int total,
                  std::chrono::nanoseconds elapsed) {
    bar.setFormat(transfer::progressText(done, total, elapsed));
    // A screen reader reads the bar's value as a percentage only.
    bar.setAccessibleDescription(bar.format());
    bar.setTextVisible(true);
    bar.setValue(std::min(value, bar.maximum()));
}

void endProgress(QProgressBar& bar, int value) {
    bar.setTextVisible(false);
    bar.resetFormat();
    bar.setAccessibleDescription(QString());
    bar.setValue(value);
}

}  // namespace tabulon::app
