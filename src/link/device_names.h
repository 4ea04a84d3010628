#pragma once

#include <QString>
#include <functional>

namespace tabulon::link {

// Turns a port number 1..9 (COM1..COM9) into the device to open. The window
// maps through its settings file; the link itself only knows the fallback.
using DeviceResolver = std::function<QString(int port)>;

// COMn is /dev/ttyS<n-1> on Linux and COMn elsewhere.
QString defaultDevice(int port);

}  // namespace tabulon::link
