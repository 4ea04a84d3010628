#include "link/serial_link.h"

#include "link/line_port.h"
#include "link/tracing_port.h"

namespace tabulon::link {

std::unique_ptr<RegisterLink> makeSerialLink(DeviceResolver deviceFor) {
    RegisterLink::Parts parts;
    parts.port = makeLinePort();
    parts.deviceFor = std::move(deviceFor);
    return std::make_unique<RegisterLink>(std::move(parts));
}

std::unique_ptr<RegisterLink> makeTracedSerialLink(DeviceResolver deviceFor,
                                                   const QString& traceFile, QString& error) {
    RegisterLink::Parts parts;
    parts.port = makeLinePort();
    parts.deviceFor = std::move(deviceFor);
    if (!traceInto(parts, traceFile, error)) return nullptr;
    return std::make_unique<RegisterLink>(std::move(parts));
}

}  // namespace tabulon::link
