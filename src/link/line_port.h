#pragma once

#include <functional>
#include <memory>

#include "link/byte_port.h"

namespace tabulon::link {

// The port of a line, whatever kind the address names: a serial device (a
// path, or a COM name on Windows), "tcp://HOST:PORT" or
// "rfc2217://HOST:PORT". The kind is chosen each time the port opens, so one
// link can be moved from a COM port to a serial server and back.
std::unique_ptr<BytePort> makeLinePort();

// The same with the ports of each kind made by the caller (tests).
using PortMaker = std::function<std::unique_ptr<BytePort>()>;
std::unique_ptr<BytePort> makeLinePort(PortMaker serial, PortMaker network);

}  // namespace tabulon::link
