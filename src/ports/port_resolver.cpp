#include "ports/port_resolver.h"

#include "ports/com_names.h"
#include "ports/port_map.h"
#include "settings/settings_file.h"

namespace tabulon::ports {

QString comDevice(int number) {
    return portDevice(settings::workingSettingsFile(), number);
}

QString deviceOf(const QString& named) {
    const std::optional<int> com = comPortNumber(named);
    return com ? comDevice(*com) : named;
}

link::DeviceResolver portResolver(const QString& named) {
    if (named.isEmpty() || comPortNumber(named)) return comDevice;
    return [named](int) { return named; };
}

}  // namespace tabulon::ports
