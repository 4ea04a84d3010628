#include "app/window_run_progress.h"

#include "app/progress_text.h"
#include "app/register_session.h"
#include "transfer/progress_estimate.h"

namespace tabulon::app {

WindowRunProgress::WindowRunProgress(RegisterSession& session, Deliver deliver)
    : session_(session), deliver_(std::move(deliver)), timer_(startedTimer(session)) {}

void WindowRunProgress::recordDone(int counter, int row) {
    const QMutexLocker lock(&mutex_);
    ++pending_.records;
    pending_.counter = counter;
    pending_.row = row;
    // Taken as the record ends, not when the window gets round to it.
    pending_.elapsed = timer_->elapsed();
    schedule();
}

void WindowRunProgress::putRow(int row, const TableReply& reply) {
    const QMutexLocker lock(&mutex_);
    pending_.rows.append({row, reply});
    schedule();
}

void WindowRunProgress::schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    session_.toWindow([self = shared_from_this()] {
        Batch batch;
        {
            const QMutexLocker lock(&self->mutex_);
            batch = std::exchange(self->pending_, Batch());
            self->scheduled_ = false;
        }
        self->deliver_(batch);
    });
}

}  // namespace tabulon::app
