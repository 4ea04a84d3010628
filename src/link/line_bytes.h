#pragma once

#include <QByteArray>
#include <cstdint>

namespace tabulon::link {

// Control bytes of the register line. DC1 and DC3 travel as data: the line has
// no XON/XOFF flow control.
inline constexpr std::uint8_t kFill = 0xFF;
inline constexpr std::uint8_t kSelect = 0x11;   // DC1
inline constexpr std::uint8_t kRelease = 0x13;  // DC3
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;        // what the simulated register refuses with
inline constexpr std::uint8_t kLineStart = 0x0A;  // LF
inline constexpr std::uint8_t kLineEnd = 0x0D;    // CR
inline constexpr char kErrorMark = 'E';

// Two address digits carry a register's number: 1 to 99.
inline constexpr int kHighestRegister = 99;

// A register number 1..99 as the two address digits, tens first.
QByteArray registerAddress(int registerNumber);

// The computer's sequences.
QByteArray fillRun(int count);
// Fill 10, DC1, DC1, address, fill 10.
QByteArray selectSequence(QByteArrayView address);
// Fill 10, DC1, DC1, address: the poll of detection waits right after the address.
QByteArray pollSequence(QByteArrayView address);
// Fill `before`, DC3, DC3, fill `after`.
QByteArray releaseSequence(int before, int after);
// Fill 3, ACK, fill 3: the computer's acknowledgement of every line it received.
QByteArray lineAcknowledgement();

}  // namespace tabulon::link
