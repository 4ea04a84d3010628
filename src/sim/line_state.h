#pragma once

#include <QString>
#include <optional>

#include "link/line_settings.h"

namespace tabulon::sim {

// How the far end has set the line up, read back from the device: speed, data
// bits, parity and stop bits. DTR is not read back and stays off. nullopt when
// the device does not tell (not a terminal).
std::optional<link::LineSettings> lineState(int fd);

// Whether a register set to `speed` baud (0: any) hears a line set up as
// `state` (nullopt: a line that does not tell, which is heard). A register set
// to another speed hears only noise.
bool hearsLine(int speed, const std::optional<link::LineSettings>& state);

// "57700 baud, 8N2".
QString lineStateText(const link::LineSettings& state);

// Sets a terminal device to this speed in baud, standard rate or not (57700,
// 14400 ...); false when the device does not take it.
bool setBaudRate(int fd, int baud);

}  // namespace tabulon::sim
