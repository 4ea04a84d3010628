#pragma once

#include <QString>
#include <optional>

namespace tabulon::sim {

// How the far end has set the line up, read back from the device.
struct LineState {
    int baudRate = 0;
    int dataBits = 8;
    char parity = 'N';
    int stopBits = 1;

    bool operator==(const LineState&) const = default;
    QString text() const;  // "57700 baud, 8N2"
};

// nullopt when the device does not tell (not a terminal).
std::optional<LineState> lineState(int fd);

// Sets a terminal device to this speed in baud, standard rate or not (57700,
// 14400 ...); false when the device does not take it.
bool setBaudRate(int fd, int baud);

}  // namespace tabulon::sim
