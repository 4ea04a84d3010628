#pragma once

#include <QList>
#include <QString>

namespace tabulon::ports {

// One serial device of this machine, with what the system tells of it.
struct SerialDevice {
    QString path;          // "/dev/ttyUSB0"
    QString byIdName;      // its /dev/serial/by-id name; empty when it has none
    QString description;   // the adapter's maker and product, where known
    QString serialNumber;  // the adapter's serial number, where known

    bool operator==(const SerialDevice&) const = default;
};

// The serial devices under `root` ("/" on a real machine; tests lay out a
// directory the same way), in the order COM names take them: USB adapters
// by their /dev/serial/by-id names, then the other /dev/ttyUSB* and
// /dev/ttyACM* in number order, then the /dev/ttyS* that have a UART behind
// them. The order depends only on what is plugged in, not on the order the
// adapters were found in, so COM1 stays COM1 from one start to the next.
QList<SerialDevice> findSerialDevices(const QString& root = QStringLiteral("/"));

// The maker and product, and the serial number, a by-id name carries
// ("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"): udev joins them with "_"
// and puts "_" for blanks, so the serial number is the last part.
struct ByIdParts {
    QString description;
    QString serialNumber;
};
ByIdParts parseByIdName(const QString& name);

}  // namespace tabulon::ports
