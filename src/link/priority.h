#pragma once

#include <memory>
#include <vector>

namespace tabulon::link {

// What raising the priority replaced, so it can be put back exactly. On
// Windows `schedPriority` holds the thread's priority, `niceChanged` says it
// was changed, and `policyChanged` says the raise entered the process's
// shared priority class (see SharedRaise).
struct SavedPriority {
    int policy = 0;
    int schedPriority = 0;
    int niceValue = 0;
    bool policyChanged = false;
    bool niceChanged = false;
};

// Raises the calling thread's scheduling priority for the length of an exchange
// so the one-byte reads are served promptly.
class PriorityControl {
public:
    virtual ~PriorityControl() = default;
    // Notes the current priority, raises it, and returns what was noted.
    virtual SavedPriority raise() = 0;
    virtual void restore(const SavedPriority& saved) = 0;
};

// The system's scheduler: SCHED_FIFO at its highest priority where permitted,
// else the lowest nice value permitted, else nothing. On Windows the real-time
// priority class (or the highest one permitted) and a time-critical thread.
class SystemPriority final : public PriorityControl {
public:
    SavedPriority raise() override;
    void restore(const SavedPriority& saved) override;
};

// Changes nothing and keeps count: for simulated lines and for tests that check
// every raise is undone in the right order.
class CountingPriority final : public PriorityControl {
public:
    SavedPriority raise() override;
    void restore(const SavedPriority& saved) override;

    int level() const { return level_; }
    int raises() const { return raises_; }
    int deepest() const { return deepest_; }
    // True while every restore put back the level of its own raise, innermost first.
    bool balanced() const { return balanced_; }

private:
    int level_ = 0;
    int raises_ = 0;
    int deepest_ = 0;
    bool balanced_ = true;
};

// The raised section of one operation: raised on construction, restored by
// leave() or at the latest by the destructor, so every return path restores.
class RaisedPriority {
public:
    explicit RaisedPriority(PriorityControl& control)
        : control_(control), saved_(control.raise()) {}
    ~RaisedPriority() { leave(); }
    RaisedPriority(const RaisedPriority&) = delete;
    RaisedPriority& operator=(const RaisedPriority&) = delete;

    void leave() {
        if (!active_) return;
        active_ = false;
        control_.restore(saved_);
    }

private:
    PriorityControl& control_;
    SavedPriority saved_;
    bool active_ = true;
};

std::shared_ptr<PriorityControl> systemPriority();

}  // namespace tabulon::link
