#pragma once

#include <functional>

#include "link/register_link.h"

namespace tabulon::link {

// Connecting: the port opened at the speed, then the register looked for.
struct ConnectOutcome {
    int opened = -1;                            // OpenPort's result; negative: nothing was detected
    ResultCause openCause = ResultCause::Done;  // why it did not open
    bool found = false;                         // DetectRegister answered
};

// `portOpened` is told between the two, so that whoever shows the state can
// show the open port before detection's seconds begin.
ConnectOutcome connectToRegister(RegisterLink& link, int port, int speed, int registerNumber,
                                 const std::function<void()>& portOpened);

}  // namespace tabulon::link
