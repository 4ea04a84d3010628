#pragma once

#include <QString>
#include <optional>

namespace tabulon::ports {

// The port box offers COM1 to COM9, as the register software always has.
inline constexpr int kComPortCount = 9;

// "COM3" for 3.
QString comName(int number);

// 1..9 for "COM1".."COM9" in any case; nullopt for anything else (a device
// path, a serial server's address, "COM10").
std::optional<int> comPortNumber(const QString& name);

}  // namespace tabulon::ports
