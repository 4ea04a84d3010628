#pragma once

namespace tabulon::sim {

// One misbehaviour of the simulated register: off, on for good, or on for the
// next n occasions only (a register that refuses three frames, then takes one).
class Fault {
public:
    static Fault always() { return Fault(-1); }
    static Fault times(int count) { return Fault(count > 0 ? count : 0); }

    Fault() = default;
    bool isOn() const { return remaining_ != 0; }
    // Whether it applies to this occasion; counts the occasion off.
    bool fire() {
        if (remaining_ == 0) return false;
        if (remaining_ > 0) --remaining_;
        return true;
    }

private:
    explicit Fault(int remaining) : remaining_(remaining) {}
    int remaining_ = 0;  // -1 for good
};

struct Faults {
    Fault silent;           // answers nothing: no status line, no ACK, no reply
    Fault refuseFrames;     // NAK instead of ACK after a frame
    Fault errorReplies;     // "E0;" instead of the reply
    Fault wrongCheckBytes;  // reply lines with a damaged check byte
    Fault cutShortLines;    // reply lines that stop halfway, without CR
    Fault fillInsideLines;  // 0xFF bytes inside status and reply lines
    Fault overLongReplies;  // reply texts of 300 bytes
    Fault lateReplies;      // the reply line comes after the computer's time-out
    Fault alterStored;      // written records kept with their first character changed to "#"
    // A network line only: a connection accepted and closed at once, as a
    // serial server does while someone else holds its port.
    Fault refuseConnections;
};

}  // namespace tabulon::sim
