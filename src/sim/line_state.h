#pragma once

#include <QString>
#include <optional>

#include "link/line_settings.h"

namespace tabulon::sim {

// How the far end has set the line up, read back from the device: speed, data
// bits, parity and stop bits. DTR is not read back and stays off. nullopt when
// the device does not tell (not a terminal).
std::optional<link::LineSettings> lineState(int fd);

// "57700 baud, 8N2".
QString lineStateText(const link::LineSettings& state);

// Sets a terminal device to this speed in baud, standard rate or not (57700,
// 14400 ...); false when the device does not take it.
bool setBaudRate(int fd, int baud);

}  // namespace tabulon::sim
