#pragma once

#include <functional>
#include <mutex>

namespace tabulon::link {

// A priority that belongs to the whole process (the priority class on
// Windows) while several link threads exchange at once, one per line. Each
// thread's exchange enters before it raises and leaves when it is done: the
// first to enter notes the setting and raises it, the last to leave puts the
// noted one back. Without the count, the first thread to finish would lower
// the process under the others, and the last would "restore" the raised
// setting it had noted, leaving the process raised for good.
class SharedRaise {
public:
    using Read = std::function<int()>;       // the current setting; 0 when unknown
    using Write = std::function<bool(int)>;  // false when the system refused

    SharedRaise(Read read, Write write, int raised);

    void enter();
    void leave();

private:
    Read read_;
    Write write_;
    const int raised_;
    std::mutex mutex_;
    int holders_ = 0;
    int noted_ = 0;
    bool changed_ = false;
};

}  // namespace tabulon::link
