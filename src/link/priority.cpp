#include "link/priority.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <cerrno>
#elif defined(Q_OS_WIN)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "link/shared_raise.h"
#endif

namespace tabulon::link {

#ifdef Q_OS_UNIX

namespace {

constexpr int kHighestNice = -20;

bool setNice(int value) {
    return ::setpriority(PRIO_PROCESS, 0, value) == 0;
}

// The lowest nice value this process may set: -20 with the privilege, else what
// RLIMIT_NICE allows (its ceiling is 20 - limit).
int lowestPermittedNice() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kHighestNice;
    const long ceiling = 20 - long(limit.rlim_cur);
    return int(qBound(long(kHighestNice), ceiling, 19L));
}

}  // namespace

SavedPriority SystemPriority::raise() {
    SavedPriority saved;
    sched_param param{};
    ::pthread_getschedparam(::pthread_self(), &saved.policy, &param);
    saved.schedPriority = param.sched_priority;
    errno = 0;
    saved.niceValue = ::getpriority(PRIO_PROCESS, 0);
    const bool niceKnown = errno == 0;

    // The highest real-time priority the system allows, else the highest
    // this user's limit allows.
    sched_param fifo{};
    fifo.sched_priority = ::sched_get_priority_max(SCHED_FIFO);
    bool realTime = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &fifo) == 0;
    rlimit realTimeLimit{};
    if (!realTime && ::getrlimit(RLIMIT_RTPRIO, &realTimeLimit) == 0 &&
        realTimeLimit.rlim_cur > 0 && long(realTimeLimit.rlim_cur) < fifo.sched_priority) {
        fifo.sched_priority = int(realTimeLimit.rlim_cur);
        realTime = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &fifo) == 0;
    }
    if (realTime) {
        saved.policyChanged = true;
        return saved;
    }
    if (!niceKnown) return saved;
    // On Linux the nice value of PRIO_PROCESS 0 is the calling thread's own.
    if (saved.niceValue > kHighestNice && setNice(kHighestNice)) {
        saved.niceChanged = true;
    } else {
        const int lowest = lowestPermittedNice();
        if (lowest < saved.niceValue && setNice(lowest)) saved.niceChanged = true;
    }
    return saved;
}

void SystemPriority::restore(const SavedPriority& saved) {
    if (saved.policyChanged) {
        sched_param param{};
        param.sched_priority = saved.schedPriority;
        ::pthread_setschedparam(::pthread_self(), saved.policy, &param);
    }
    if (saved.niceChanged) setNice(saved.niceValue);
}

#elif defined(Q_OS_WIN)

// The process's priority class and the thread's priority: the real-time class
// where the user may have it (Windows quietly gives the high class otherwise),
// and the time-critical thread priority within it.
namespace {

// The priority class is the process's, shared by every link thread.
SharedRaise& processClass() {
    static SharedRaise shared([] { return int(::GetPriorityClass(::GetCurrentProcess())); },
                              [](int priorityClass) {
                                  return ::SetPriorityClass(::GetCurrentProcess(),
                                                            DWORD(priorityClass)) != 0;
                              },
                              int(REALTIME_PRIORITY_CLASS));
    return shared;
}

}  // namespace

SavedPriority SystemPriority::raise() {
    SavedPriority saved;
    const HANDLE thread = ::GetCurrentThread();
    processClass().enter();
    saved.policyChanged = true;  // entered the shared class; leave() on restore
    saved.schedPriority = ::GetThreadPriority(thread);
    if (saved.schedPriority != THREAD_PRIORITY_ERROR_RETURN &&
        ::SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL))
        saved.niceChanged = true;
    return saved;
}

void SystemPriority::restore(const SavedPriority& saved) {
    if (saved.niceChanged) ::SetThreadPriority(::GetCurrentThread(), saved.schedPriority);
    if (saved.policyChanged) processClass().leave();
}

#else

SavedPriority SystemPriority::raise() {
    return {};
}
void SystemPriority::restore(const SavedPriority&) {}

#endif

SavedPriority CountingPriority::raise() {
    SavedPriority saved;
    saved.niceValue = level_;
    ++level_;
    ++raises_;
    deepest_ = qMax(deepest_, level_);
    return saved;
}

void CountingPriority::restore(const SavedPriority& saved) {
    if (saved.niceValue != level_ - 1) balanced_ = false;
    level_ = saved.niceValue;
}

std::shared_ptr<PriorityControl> systemPriority() {
    static const auto control = std::make_shared<SystemPriority>();
    return control;
}

}  // namespace tabulon::link
