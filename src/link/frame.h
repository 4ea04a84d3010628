#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace tabulon::link {

// Every command the computer sends and every line a register sends back is one
// frame: LF, the text unchanged, CR, then a 16-bit check (high byte first) over
// the text and the CR. Nothing is escaped, so a frame of L text bytes is L + 4.

// The running check as both sides compute it: a CRC-16 with generator 0x8001,
// most significant bit first, starting at zero. Fed with a line's text, CR and
// both check bytes, an intact line leaves the state at zero.
class FrameChecksum {
public:
    void reset() { high_ = 0, low_ = 0; }
    void add(std::uint8_t byte);
    void add(QByteArrayView bytes);

    std::uint8_t high() const { return high_; }
    std::uint8_t low() const { return low_; }
    bool isZero() const { return high_ == 0 && low_ == 0; }

private:
    std::uint8_t high_ = 0;
    std::uint8_t low_ = 0;
};

// The two check bytes of a line whose text and CR are `bytes`: high byte, low byte.
std::uint16_t frameCheck(QByteArrayView bytes);

// The frame of a command text: LF, text, CR, check high, check low.
QByteArray BuildFrame(QByteArrayView text);

}  // namespace tabulon::link
