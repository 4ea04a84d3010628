#include "link/connect_register.h"

namespace tabulon::link {

ConnectOutcome connectToRegister(RegisterLink& link, int port, int speed, int registerNumber,
                                 const std::function<void()>& portOpened) {
    ConnectOutcome outcome;
    outcome.opened = link.OpenPort(port, speed);
    outcome.openCause = link.lastCause();
    if (outcome.opened < 0) return outcome;
    if (portOpened) portOpened();
    outcome.found = link.DetectRegister(registerNumber) >= 0;
    return outcome;
}

}  // namespace tabulon::link
