#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tabulon::sim {

// Whatever hangs on a simulated line: it hears every byte the computer sends
// and answers at once with the bytes it puts on the line.
class LineDevice {
public:
    virtual ~LineDevice() = default;
    virtual QByteArray receive(QByteArrayView bytes) = 0;
    // What it answers only after the computer has stopped waiting for it (a
    // register that is slow with one reply); taken once.
    virtual QByteArray takeLateOutput() { return {}; }
};

}  // namespace tabulon::sim
