#include "ports/port_map.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/file_bytes.h"

using namespace tabulon::ports;

namespace {

const SerialDevice kFtdi{"/dev/ttyUSB1", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                         "FTDI FT232R USB UART", "A50285BI"};
const SerialDevice kProlific{"/dev/ttyUSB0",
                             "usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0",
                             "Prolific Technology Inc. USB-Serial Controller", ""};
const SerialDevice kUart{"/dev/ttyS0", "", "", ""};

QStringList devices(const QList<PortAssignment>& ports) {
    QStringList list;
    for (const PortAssignment& port : ports) list << port.device;
    return list;
}

}  // namespace

TEST(PortMap, WithoutDevicesOrEntriesNoNameStandsForAnything) {
    const QList<PortAssignment> ports = assignPorts({}, {});
    ASSERT_EQ(ports.size(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(ports[i].number, i + 1);
        EXPECT_EQ(ports[i].name(), QStringLiteral("COM%1").arg(i + 1));
        EXPECT_EQ(ports[i].source, PortSource::None);
        EXPECT_EQ(ports[i].device, "");
    }
    EXPECT_EQ(portTooltip(ports[4]), "COM5: нет устройства");
}

TEST(PortMap, FoundDevicesTakeTheNamesInTheirOrder) {
    const QList<PortAssignment> ports = assignPorts({}, {kFtdi, kProlific, kUart});
    EXPECT_EQ(devices(ports),
              QStringList({"/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyS0", "", "", "", "", "", ""}));
    EXPECT_EQ(ports[0].source, PortSource::Found);
    EXPECT_EQ(ports[0].details, kFtdi);
    EXPECT_EQ(ports[3].source, PortSource::None);
    EXPECT_EQ(portTooltip(ports[0]), "COM1: /dev/ttyUSB1 (FTDI FT232R USB UART, № A50285BI)");
    EXPECT_EQ(portTooltip(ports[1]),
              "COM2: /dev/ttyUSB0 (Prolific Technology Inc. USB-Serial Controller)");
    EXPECT_EQ(portTooltip(ports[2]), "COM3: /dev/ttyS0");
}

TEST(PortMap, AnEntryWinsAndTheDeviceItNamesIsNotTakenTwice) {
    // COM1 names the second adapter by its by-id path, COM3 a device that
    // was not found: the others fill the free names from COM2 on.
    const QMap<int, QString> entries{
        {1, "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"},
        {3, "/dev/pts/7"}};
    const QList<PortAssignment> ports = assignPorts(entries, {kFtdi, kProlific, kUart});
    EXPECT_EQ(devices(ports), QStringList({entries[1], "/dev/ttyUSB1", "/dev/pts/7", "/dev/ttyS0",
                                           "", "", "", "", ""}));
    EXPECT_EQ(ports[0].source, PortSource::Settings);
    EXPECT_EQ(ports[0].details, kProlific);
    EXPECT_EQ(ports[2].source, PortSource::Settings);
    EXPECT_EQ(ports[2].details, SerialDevice());
    EXPECT_EQ(ports[3].source, PortSource::Found);
    EXPECT_EQ(portTooltip(ports[2]), "COM3: /dev/pts/7 (из [Ports] в Tabulon.ini)");

    // An entry by the plain path claims the device just the same.
    const QList<PortAssignment> plain = assignPorts({{9, "/dev/ttyUSB1"}}, {kFtdi, kUart});
    EXPECT_EQ(devices(plain),
              QStringList({"/dev/ttyS0", "", "", "", "", "", "", "", "/dev/ttyUSB1"}));
    EXPECT_EQ(portTooltip(plain[8]),
              "COM9: /dev/ttyUSB1 (FTDI FT232R USB UART, № A50285BI, из [Ports] в Tabulon.ini)");
}

TEST(PortMap, EntriesComeFromThePortsSectionOfTheSettingsFile) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("Tabulon.ini");
    EXPECT_TRUE(portEntries(ini).isEmpty());
    tabulon::testing::writeFile(
        ini,
        "[Communication]\r\nSpeed=4800\r\n[ports]\r\ncom2 = /dev/ttyUSB4\r\n"
        "COM7=\r\nCOM10=/dev/ttyUSB9\r\n");
    EXPECT_EQ(portEntries(ini), (QMap<int, QString>{{2, "/dev/ttyUSB4"}}));
    // Explicit entries hold whatever this machine has.
    EXPECT_EQ(portDevice(ini, 2), "/dev/ttyUSB4");
    EXPECT_EQ(portDevice(ini, 0), "");
    EXPECT_EQ(portDevice(ini, 10), "");
}

TEST(PortMap, AServerAddressStandsForItsComNameAndSaysWhatKindOfServerItIs) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("Tabulon.ini");
    tabulon::testing::writeFile(ini,
                                "[Ports]\r\nCOM5=rfc2217://10.0.3.7:4001\r\n"
                                "COM6=tcp://shop7.example:950\r\nCOM7=tcp://shop7.example\r\n");
    EXPECT_EQ(portDevice(ini, 5), "rfc2217://10.0.3.7:4001");
    const QList<PortAssignment> ports = assignPorts(portEntries(ini), {kUart});
    EXPECT_EQ(devices(ports),
              QStringList({"/dev/ttyS0", "", "", "", "rfc2217://10.0.3.7:4001",
                           "tcp://shop7.example:950", "tcp://shop7.example", "", ""}));
    const struct {
        int index;
        QString tooltip;
    } rows[] = {
        {4, "COM5: rfc2217://10.0.3.7:4001 (сервер порта, RFC 2217, из [Ports] в Tabulon.ini)"},
        {5,
         "COM6: tcp://shop7.example:950 (сервер порта, TCP без управления портом, из [Ports] в "
         "Tabulon.ini)"},
        {6, "COM7: tcp://shop7.example (неверный адрес сервера порта, из [Ports] в Tabulon.ini)"},
    };
    for (const auto& row : rows) EXPECT_EQ(portTooltip(ports[row.index]), row.tooltip);
    EXPECT_EQ(serialServerKind("rfc2217://h:1", false), "serial server, RFC 2217");
    EXPECT_EQ(serialServerKind("tcp://h:1", false), "serial server, raw TCP");
}
