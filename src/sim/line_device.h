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
};

}  // namespace tabulon::sim
