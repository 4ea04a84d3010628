#pragma once

#include <QList>
#include <QMutex>
#include <chrono>
#include <functional>
#include <memory>
#include <utility>

#include "transfer/run_parts.h"
#include "transfer/table_record.h"

namespace tabulon::transfer {
class ProgressTimer;
}

namespace tabulon::app {

class RegisterSession;

// What a run reports, gathered on the link's thread and handed to the window
// in batches: one delivery waits in the window's queue at most, so a run that
// is faster than the window can draw never buries the window's own events.
class WindowRunProgress final : public transfer::RunProgress,
                                public transfer::RowSink,
                                public std::enable_shared_from_this<WindowRunProgress> {
public:
    struct Batch {
        QList<std::pair<int, TableReply>> rows;
        int records = 0;  // records dealt with since the last batch
        int counter = 0;  // the last of them
        int row = 0;
        std::chrono::nanoseconds elapsed{0};  // since the run began, at the last of them
    };
    using Deliver = std::function<void(const Batch&)>;

    // The run's time counts from here, on the window's thread, before the
    // run is handed to the link.
    WindowRunProgress(RegisterSession& session, Deliver deliver);

    void recordDone(int counter, int row) override;
    void putRow(int row, const TableReply& reply) override;

private:
    void schedule();

    RegisterSession& session_;
    Deliver deliver_;
    QMutex mutex_;
    Batch pending_;
    bool scheduled_ = false;
    std::shared_ptr<transfer::ProgressTimer> timer_;
};

}  // namespace tabulon::app
