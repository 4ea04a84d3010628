#include "sim/simulated_link.h"

namespace tabulon::sim {

SimulatedLink makeSimulatedLink(Model model, link::DeviceResolver deviceFor) {
    SimulatedLink sim;
    sim.clock = std::make_shared<link::VirtualClock>();
    sim.priority = std::make_shared<link::CountingPriority>();
    sim.ecr = std::make_shared<SimulatedRegister>(model);
    sim.line = std::make_shared<SimulatedLine>(sim.clock);
    sim.line->attach(sim.ecr);

    link::RegisterLink::Parts parts;
    parts.port = std::make_unique<SimulatedPort>(sim.line);
    if (deviceFor) parts.deviceFor = std::move(deviceFor);
    parts.clock = sim.clock;
    parts.priority = sim.priority;
    sim.link = std::make_unique<link::RegisterLink>(std::move(parts));
    return sim;
}

}  // namespace tabulon::sim
