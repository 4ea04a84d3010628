#include "link/frame.h"

#include <array>

#include "link/line_bytes.h"

namespace tabulon::link {

namespace {

// Adding a byte folds the high byte into a value whose bit i is the XOR of bits
// i to 7 of that byte. It depends on the high byte alone, so it is tabulated.
constexpr std::array<std::uint8_t, 256> makeFoldTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned high = 0; high < 256; ++high) {
        unsigned folded = high;
        for (int i = 0; i < 7; ++i) folded = ((folded >> 1) ^ high) & 0xFF;
        table[high] = static_cast<std::uint8_t>(folded);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kFold = makeFoldTable();

}  // namespace

void FrameChecksum::add(std::uint8_t byte) {
    const std::uint8_t folded = kFold[high_];
    high_ = static_cast<std::uint8_t>(low_ ^ ((folded & 1) << 7));
    low_ = static_cast<std::uint8_t>(byte ^ folded);
}

void FrameChecksum::add(QByteArrayView bytes) {
    for (char c : bytes) add(static_cast<std::uint8_t>(c));
}

std::uint16_t frameCheck(QByteArrayView bytes) {
    FrameChecksum sum;
    sum.add(bytes);
    sum.add(std::uint8_t{0});
    sum.add(std::uint8_t{0});
    return static_cast<std::uint16_t>(sum.high() << 8 | sum.low());
}

QByteArray BuildFrame(QByteArrayView text) {
    QByteArray frame;
    frame.reserve(text.size() + 4);
    frame.append(char(kLineStart));
    frame.append(text);
    frame.append(char(kLineEnd));
    const std::uint16_t check = frameCheck(QByteArrayView(frame).sliced(1));
    frame.append(char(check >> 8));
    frame.append(char(check & 0xFF));
    return frame;
}

}  // namespace tabulon::link
