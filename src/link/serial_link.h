#pragma once

#include <memory>

#include "link/register_link.h"

namespace tabulon::link {

// The link the program uses on a real line: a serial port or a serial server
// (whichever the device names: a path, a COM name, tcp:// or rfc2217://), the
// steady clock and the system's scheduler. `deviceFor` maps COMn to a device
// (the window and the command line pass the port map's resolver).
std::unique_ptr<RegisterLink> makeSerialLink(DeviceResolver deviceFor);
// The same with every byte traced into the file at `traceFile`; nullptr with
// `error` set when that file cannot be opened.
std::unique_ptr<RegisterLink> makeTracedSerialLink(DeviceResolver deviceFor,
                                                   const QString& traceFile, QString& error);

}  // namespace tabulon::link
