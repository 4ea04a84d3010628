#include "link/link_thread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "sim/simulated_link.h"

using namespace tabulon;

namespace {

// Runs the calling thread's events until `done` or a few seconds.
template <typename Predicate>
bool processUntil(Predicate done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

}  // namespace

TEST(LinkThread, JobsRunInOrderOnOneThreadThatIsNotTheCallers) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    link::LinkThread thread(std::move(sim.link));
    QObject window;
    QList<int> order;
    QThread* jobThread = nullptr;
    for (int i = 0; i < 5; ++i) {
        thread.post([&, i](link::RegisterLink& link) {
            if (i == 0) {
                EXPECT_EQ(link.OpenPort(1, 9600), 1);
            }
            jobThread = QThread::currentThread();
            link::postTo(&window, [&order, i] { order << i; });
        });
    }
    ASSERT_TRUE(processUntil([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_NE(jobThread, QThread::currentThread());
    EXPECT_TRUE(thread.waitUntilIdle(1000));
    EXPECT_FALSE(thread.isBusy());
}

TEST(LinkThread, AQuestionIsAnsweredOnTheWindowsThreadWhileTheJobWaits) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    link::LinkThread thread(std::move(sim.link));
    QObject window;
    std::atomic<bool> cancelled{false};
    std::atomic<int> answer{0};
    QThread* askedOn = nullptr;
    thread.post([&](link::RegisterLink&) {
        answer = link::askOn<int>(
            &window,
            [&] {
                askedOn = QThread::currentThread();
                return 42;
            },
            cancelled, -1);
    });
    ASSERT_TRUE(processUntil([&] { return answer != 0; }));
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(askedOn, QThread::currentThread());
}

TEST(LinkThread, AQuestionNobodyWillAnswerEndsWhenCancelled) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    link::LinkThread thread(std::move(sim.link));
    std::atomic<bool> cancelled{false};
    std::atomic<bool> asking{false};
    std::atomic<int> answer{0};
    // This thread runs no events while the job asks, as a window that is
    // closing does not; its question is dropped with it at the end.
    QObject window;
    thread.post([&](link::RegisterLink&) {
        asking = true;
        answer = link::askOn<int>(&window, [] { return 42; }, cancelled, -1);
    });
    while (!asking) QThread::yieldCurrentThread();
    cancelled = true;
    EXPECT_TRUE(thread.waitUntilIdle(30000));
    EXPECT_EQ(answer, -1);
}
