#include "ports/port_map.h"

#include <algorithm>

#include "link/network_address.h"
#include "settings/profile_file.h"

namespace tabulon::ports {

namespace {

constexpr int kMaxPathLength = 499;

bool names(const QString& entry, const SerialDevice& device) {
    return entry == device.path ||
           (!device.byIdName.isEmpty() && entry == "/dev/serial/by-id/" + device.byIdName);
}

}  // namespace

QList<PortAssignment> assignPorts(const QMap<int, QString>& entries,
                                  const QList<SerialDevice>& found) {
    QList<SerialDevice> free = found;
    QList<PortAssignment> ports;
    for (int number = 1; number <= kComPortCount; ++number) {
        PortAssignment port;
        port.number = number;
        if (const QString entry = entries.value(number); !entry.isEmpty()) {
            port.device = entry;
            port.source = PortSource::Settings;
            const auto named = std::find_if(found.begin(), found.end(),
                                            [&](const SerialDevice& d) { return names(entry, d); });
            if (named != found.end()) {
                port.details = *named;
                free.removeAll(*named);
            }
        }
        ports << port;
    }
    for (PortAssignment& port : ports) {
        if (port.source == PortSource::Settings || free.isEmpty()) continue;
        port.details = free.takeFirst();
        port.device = port.details.path;
        port.source = PortSource::Found;
    }
    return ports;
}

QMap<int, QString> portEntries(const QString& iniFilePath) {
    const settings::ProfileFile file(iniFilePath);
    QMap<int, QString> entries;
    if (!file.exists()) return entries;
    for (int number = 1; number <= kComPortCount; ++number) {
        const QString device =
            file.read(QStringLiteral("Ports"), comName(number), QString(), kMaxPathLength);
        if (!device.isEmpty()) entries.insert(number, device);
    }
    return entries;
}

QList<PortAssignment> portAssignments(const QString& iniFilePath, const QString& root) {
#ifdef Q_OS_WIN
    // Windows has the COM names themselves.
    Q_UNUSED(root);
    QList<SerialDevice> found;
    for (int number = 1; number <= kComPortCount; ++number)
        found << SerialDevice{comName(number), {}, {}, {}};
    return assignPorts(portEntries(iniFilePath), found);
#else
    return assignPorts(portEntries(iniFilePath), findSerialDevices(root));
#endif
}

QString portDevice(const QString& iniFilePath, int portNumber) {
    if (portNumber < 1 || portNumber > kComPortCount) return {};
    return portAssignments(iniFilePath).at(portNumber - 1).device;
}

QString serialServerKind(const QString& address, bool russian) {
    const std::optional<link::NetworkAddress> parsed = link::parseNetworkAddress(address);
    if (!parsed)
        return russian ? QStringLiteral("неверный адрес сервера порта")
                       : QStringLiteral("not a valid serial server address");
    const bool rfc2217 = parsed->kind == link::NetworkAddress::Kind::Rfc2217;
    if (russian)
        return rfc2217 ? QStringLiteral("сервер порта, RFC 2217")
                       : QStringLiteral("сервер порта, TCP без управления портом");
    return rfc2217 ? QStringLiteral("serial server, RFC 2217")
                   : QStringLiteral("serial server, raw TCP");
}

QString portTooltip(const PortAssignment& port) {
    if (port.source == PortSource::None)
        return QStringLiteral("%1: нет устройства").arg(port.name());
    QString text = QStringLiteral("%1: %2").arg(port.name(), port.device);
    QStringList about;
    if (link::isNetworkAddress(port.device)) about << serialServerKind(port.device, true);
    if (!port.details.description.isEmpty()) about << port.details.description;
    if (!port.details.serialNumber.isEmpty()) about << "№ " + port.details.serialNumber;
    if (port.source == PortSource::Settings) about << QStringLiteral("из [Ports] в Tabulon.ini");
    if (!about.isEmpty()) text += QStringLiteral(" (%1)").arg(about.join(QStringLiteral(", ")));
    return text;
}

}  // namespace tabulon::ports
