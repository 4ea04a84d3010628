#include "link/serial_link.h"

#include "link/serial_port.h"

namespace tabulon::link {

std::unique_ptr<RegisterLink> makeSerialLink(DeviceResolver deviceFor) {
    RegisterLink::Parts parts;
    parts.port = std::make_unique<SerialBytePort>();
    parts.deviceFor = std::move(deviceFor);
    return std::make_unique<RegisterLink>(std::move(parts));
}

}  // namespace tabulon::link
