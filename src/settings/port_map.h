#pragma once

#include <QString>

namespace tabulon::settings {

// The device behind "COM<n>" (n = 1..9): the [Ports] section of the settings
// file maps a name to a device (COM3=/dev/ttyUSB0); without an entry COMn is
// /dev/ttyS<n-1>. The section is read, never written.
QString portDevice(const QString& iniFilePath, int portNumber);

}  // namespace tabulon::settings
