#include "link/link_thread.h"

#include <QThread>

namespace tabulon::link {

LinkThread::LinkThread(std::unique_ptr<RegisterLink> link)
    : link_(std::move(link)), thread_(new QThread), worker_(new QObject) {
    thread_->setObjectName(QStringLiteral("register link"));
    worker_->moveToThread(thread_);
    thread_->start();
}

LinkThread::~LinkThread() {
    // Jobs not begun are dropped; the link goes on its own thread, where its
    // port lives, once the job in hand has ended.
    closing_ = true;
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            link_.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    thread_->wait();
    // Its thread has ended, so it goes from here; a deferred delete posted as
    // the thread finished would wake an event loop that is being torn down.
    delete worker_;
    delete thread_;
}

void LinkThread::post(Job job) {
    ++pending_;
    QMetaObject::invokeMethod(
        worker_,
        [this, job = std::move(job)] {
            if (!closing_) job(*link_);
            --pending_;
        },
        Qt::QueuedConnection);
}

bool LinkThread::waitUntilIdle(int timeoutMs) {
    auto idle = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(worker_, [idle] { idle->release(); }, Qt::QueuedConnection);
    return idle->tryAcquire(1, timeoutMs);
}

}  // namespace tabulon::link
