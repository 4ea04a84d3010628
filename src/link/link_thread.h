#pragma once

#include <QMetaObject>
#include <QObject>
#include <QSemaphore>
#include <atomic>
#include <functional>
#include <memory>

#include "link/register_link.h"

class QThread;

namespace tabulon::link {

// The register link on a thread of its own for the program's life, so that no
// exchange ever holds up the window. Work goes to it as jobs, run one after
// the other in the order they were posted; a job has the link to itself while
// it runs. Results go back to the window as queued calls (postTo, askOn).
class LinkThread {
public:
    using Job = std::function<void(RegisterLink&)>;

    explicit LinkThread(std::unique_ptr<RegisterLink> link);
    // Waits for the job in hand to end; jobs not begun are dropped. Whoever
    // posted long jobs makes them end first (their RunControl::cancelled).
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    void post(Job job);
    // A job is running or waiting.
    bool isBusy() const { return pending_ > 0; }
    // Waits until every job posted so far has ended (tests, shutdown).
    bool waitUntilIdle(int timeoutMs = -1);

    // Only while no job can run (before the first post, in tests between jobs).
    RegisterLink& linkWhileIdle() { return *link_; }

private:
    std::unique_ptr<RegisterLink> link_;
    QThread* thread_;
    QObject* worker_;  // lives on thread_; jobs are queued calls on it
    std::atomic<int> pending_{0};
    std::atomic<bool> closing_{false};
};

// Runs `call` on the thread of `context` (the window) later; dropped if the
// context is gone by then.
inline void postTo(QObject* context, std::function<void()> call) {
    QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
}

// Runs `call` on the thread of `context` and waits for its answer: a question
// a job asks the user. While it waits it looks at `cancelled`, so that a
// window that closes (and so will never answer) does not hold the job, and
// the job goes on with `fallback`.
template <typename T>
T askOn(QObject* context, std::function<T()> call, const std::atomic<bool>& cancelled,
        T fallback) {
    struct Answer {
        QSemaphore ready;
        T value;
    };
    auto answer = std::make_shared<Answer>();
    answer->value = fallback;
    QMetaObject::invokeMethod(
        context,
        [answer, call = std::move(call)] {
            answer->value = call();
            answer->ready.release();
        },
        Qt::QueuedConnection);
    while (!answer->ready.tryAcquire(1, 50)) {
        if (cancelled) return fallback;
    }
    return answer->value;
}

}  // namespace tabulon::link
