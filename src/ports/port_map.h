#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include "ports/com_names.h"
#include "ports/serial_devices.h"

namespace tabulon::ports {

// Where the device of a COM name comes from.
enum class PortSource {
    Settings,  // a [Ports] entry of the settings file
    Found,     // a serial device found on this machine
    None,      // no entry and no device left for this name
};

// What one COM name stands for.
struct PortAssignment {
    int number = 0;  // 1..9
    QString device;  // empty when the source is None
    PortSource source = PortSource::None;
    SerialDevice details;  // what the system knows of the device, where it does

    QString name() const { return comName(number); }
    bool operator==(const PortAssignment&) const = default;
};

// COM1..COM9 over the [Ports] entries (by port number) and the devices found
// (in their order): an entry always wins; the names without one take the
// found devices no entry names, in order. An entry names a found device by
// its path or by its /dev/serial/by-id path.
QList<PortAssignment> assignPorts(const QMap<int, QString>& entries,
                                  const QList<SerialDevice>& found);

// The [Ports] entries of a settings file, by port number. The section is
// read, never written.
QMap<int, QString> portEntries(const QString& iniFilePath);

// COM1..COM9 on this machine: the settings file's entries and the devices
// under `root` ("/" but for tests).
QList<PortAssignment> portAssignments(const QString& iniFilePath,
                                      const QString& root = QStringLiteral("/"));

// The device behind "COM<n>" (n = 1..9); empty when nothing stands for it.
QString portDevice(const QString& iniFilePath, int portNumber);

// What kind of serial server a tcp:// or rfc2217:// address names, for the
// port box's tooltip (Russian) or the command line's port list (English).
QString serialServerKind(const QString& address, bool russian);

// "/dev/ttyUSB0 — FTDI FT232R USB UART, № A50285BI", what the port box's
// tooltip says of a COM name; "нет устройства" when none stands for it.
QString portTooltip(const PortAssignment& port);

}  // namespace tabulon::ports
