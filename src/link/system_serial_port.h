#pragma once

#include <memory>

#include "link/byte_port.h"

namespace tabulon::link {

// The local serial port of this system: QSerialPort on Linux, the Win32
// communications calls on Windows.
std::unique_ptr<BytePort> makeSystemSerialPort();

}  // namespace tabulon::link
