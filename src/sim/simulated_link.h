#pragma once

#include <memory>

#include "link/register_link.h"
#include "sim/sim_register.h"
#include "sim/simulated_line.h"

namespace tabulon::sim {

// A register link whose port is a simulated line with one simulated register on
// it, in virtual time: what the window's tests and the demo mode use.
//   auto sim = makeSimulatedLink(Model::Neon);
//   sim.link->OpenPort(1, 9600);              // any port opens
//   sim.link->WriteRecord(1, 3, 1, "12;Іван;1;0;");
//   sim.line->sent();                         // what the computer put on the line
//   sim.ecr->faults().refuseFrames = Fault::times(3);
struct SimulatedLink {
    std::unique_ptr<link::RegisterLink> link;
    std::shared_ptr<SimulatedLine> line;
    std::shared_ptr<SimulatedRegister> ecr;
    std::shared_ptr<link::VirtualClock> clock;
    std::shared_ptr<link::CountingPriority> priority;
};

// Without `deviceFor` the line is told the COM name of the port opened.
SimulatedLink makeSimulatedLink(Model model = Model::Neon, link::DeviceResolver deviceFor = {});

}  // namespace tabulon::sim
