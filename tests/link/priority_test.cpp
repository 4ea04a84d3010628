#include "link/priority.h"

#include <QList>
#include <string>

#include "link/shared_raise.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sched.h>
#include <sys/resource.h>
#endif

#include "link_fixture.h"

using namespace tabulon;
using sim::Fault;

namespace {

// Notes the priority level under which each piece of the computer's bytes went out.
class LevelWatcher : public sim::LineDevice {
public:
    explicit LevelWatcher(const link::CountingPriority& priority) : priority_(priority) {}
    QByteArray receive(QByteArrayView bytes) override {
        pieces.append({bytes.toByteArray(), priority_.level()});
        return {};
    }
    QList<std::pair<QByteArray, int>> pieces;

private:
    const link::CountingPriority& priority_;
};

}  // namespace

TEST_F(LinkTest, EveryPathRestoresThePriority) {
    QByteArray reply;
    const auto expectRestored = [this](int raises, const char* what) {
        EXPECT_EQ(sim.priority->level(), 0) << what;
        EXPECT_TRUE(sim.priority->balanced()) << what;
        EXPECT_EQ(sim.priority->raises(), raises) << what;
    };
    link().ReadRecord(1, 2, 1, reply);
    expectRestored(1, "read");
    faults().wrongCheckBytes = Fault::times(1);
    link().ReadRecord(1, 2, 1, reply);
    expectRestored(2, "read with wrong check bytes");
    faults().cutShortLines = Fault::times(2);
    link().ReadRecord(1, 2, 1, reply);
    link().WriteRecord(1, 3, 1, "1;");
    expectRestored(4, "cut-short replies");
    faults().errorReplies = Fault::times(20);
    link().ReadRecord(1, 2, 1, reply);
    link().WriteRecord(1, 3, 1, "1;");
    expectRestored(6, "error replies");
    link().ResetLink();
    expectRestored(7, "reset");
    sim.line->detachAll();
    link().ReadRecord(1, 2, 1, reply);
    link().WriteRecord(1, 3, 1, "1;");
    expectRestored(9, "no register");
    EXPECT_EQ(sim.priority->deepest(), 1);
}

TEST_F(LinkTest, DetectionRaisesAroundItsOwnResets) {
    sim.line->detachAll();
    link().DetectRegister(1);
    EXPECT_EQ(sim.priority->raises(), 3);
    EXPECT_EQ(sim.priority->deepest(), 2);
    EXPECT_EQ(sim.priority->level(), 0);
    EXPECT_TRUE(sim.priority->balanced());
}

TEST_F(LinkTest, WriteLeavesTheRaisedSectionBeforeItsLastRelease) {
    auto watcher = std::make_shared<LevelWatcher>(*sim.priority);
    sim.line->attach(watcher);
    faults().errorReplies = Fault::always();
    link().WriteRecord(1, 3, 1, "1;");

    ASSERT_GE(watcher->pieces.size(), 3);
    const auto last = watcher->pieces.size() - 1;
    EXPECT_EQ(watcher->pieces[last - 1], std::make_pair(kRelease1015, 0));
    EXPECT_EQ(watcher->pieces[last], std::make_pair(kRelease88, 0));
    EXPECT_EQ(watcher->pieces[last - 2].second, 1);
}

TEST(SystemPriority, RaisedAndRestoredExactlyAlsoWhenNested) {
    struct State {
        int policy;
        int schedPriority;
        int nice;
        bool operator==(const State&) const = default;
    };
#ifdef Q_OS_WIN
    // The priority class, the thread's priority and nothing.
    const auto current = [] {
        return State{int(GetPriorityClass(GetCurrentProcess())),
                     GetThreadPriority(GetCurrentThread()), 0};
    };
    const auto isRaised = [](const State& raised, const State&) {
        return (raised.policy == REALTIME_PRIORITY_CLASS || raised.policy == HIGH_PRIORITY_CLASS) &&
               raised.schedPriority == THREAD_PRIORITY_TIME_CRITICAL;
    };
#else
    const auto current = [] {
        sched_param param{};
        State state{};
        pthread_getschedparam(pthread_self(), &state.policy, &param);
        state.schedPriority = param.sched_priority;
        state.nice = getpriority(PRIO_PROCESS, 0);
        return state;
    };
    // Raised as far as permitted: real-time, or a lower nice value, or
    // nothing at all where neither is allowed.
    const auto isRaised = [](const State& raised, const State& before) {
        return raised.policy == SCHED_FIFO || raised.nice <= before.nice;
    };
#endif

    link::SystemPriority control;
    const State before = current();
    {
        link::RaisedPriority outer(control);
        const State raised = current();
        EXPECT_TRUE(isRaised(raised, before));
        { link::RaisedPriority inner(control); }
        EXPECT_EQ(current(), raised);
    }
    EXPECT_EQ(current(), before);
}

// Several link threads in exchanges at once share the process's priority
// class: it stays raised while any of them is inside, and the one noted
// before the first raise is what comes back.
TEST(SharedRaise, TheProcessStaysRaisedWhileAnyExchangeIsInsideAndEndsAsItWas) {
    constexpr int kNormal = 32, kRaised = 256;
    struct Case {
        const char* what;
        const char* steps;         // E enters, L leaves
        const char* settingAfter;  // N normal, R raised, after each step
        int readGives;             // what the system reports as the current setting
        bool refuse;               // the system refuses every change
        int writes;
    };
    const Case cases[] = {
        {"one exchange", "EL", "RN", kNormal, false, 2},
        {"two at once, the first done first", "EELL", "RRRN", kNormal, false, 2},
        {"two at once, nested", "EELELL", "RRRRRN", kNormal, false, 2},
        {"one after another", "ELEL", "RNRN", kNormal, false, 4},
        {"a leave with nobody inside", "LEL", "NRN", kNormal, false, 2},
        {"the system refuses", "EELL", "NNNN", kNormal, true, 1},
        {"the setting cannot be read", "EL", "NN", 0, false, 0},
    };
    for (const Case& c : cases) {
        int setting = kNormal, writes = 0;
        link::SharedRaise shared([&] { return c.readGives; },
                                 [&](int value) {
                                     ++writes;
                                     if (c.refuse) return false;
                                     setting = value;
                                     return true;
                                 },
                                 kRaised);
        std::string after;
        for (const char* step = c.steps; *step; ++step) {
            if (*step == 'E')
                shared.enter();
            else
                shared.leave();
            after += setting == kRaised ? 'R' : setting == kNormal ? 'N' : '?';
        }
        EXPECT_EQ(after, c.settingAfter) << c.what;
        EXPECT_EQ(writes, c.writes) << c.what;
    }
}
