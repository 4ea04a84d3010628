#include "ports/serial_devices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ports/port_map.h"

using namespace tabulon::ports;

namespace {

// A directory laid out as /dev and /sys are: device nodes as plain files,
// the by-id names and the class links as relative symbolic links.
class FakeSystem {
public:
    QString root() const { return dir_.path(); }

    void file(const QString& path, const QByteArray& text = {}) {
        QDir(dir_.path()).mkpath(QFileInfo(dir_.filePath(path)).path());
        QFile out(dir_.filePath(path));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }
    void link(const QString& path, const QString& target) {
        QDir(dir_.path()).mkpath(QFileInfo(dir_.filePath(path)).path());
        ASSERT_TRUE(QFile::link(target, dir_.filePath(path)));
    }
    void uart(int n, int type) {
        file(QStringLiteral("dev/ttyS%1").arg(n));
        file(QStringLiteral("sys/class/tty/ttyS%1/type").arg(n), QByteArray::number(type) + '\n');
    }
    // A USB adapter in /sys: the device with its descriptors, the interface,
    // for ttyUSB a port below it, and the class link to that.
    void usb(const QString& tty, const QString& bus, const QByteArray& maker,
             const QByteArray& product, const QByteArray& serial) {
        const QString device = "sys/devices/pci0000:00/usb1/" + bus;
        file(device + "/idVendor", "0403\n");
        if (!maker.isEmpty()) file(device + "/manufacturer", maker + '\n');
        if (!product.isEmpty()) file(device + "/product", product + '\n');
        if (!serial.isEmpty()) file(device + "/serial", serial + '\n');
        const QString below =
            tty.startsWith("ttyUSB") ? "/" + bus + ":1.0/" + tty : "/" + bus + ":1.0";
        QDir(dir_.path()).mkpath(device + below);
        link("sys/class/tty/" + tty + "/device", "../../../devices/pci0000:00/usb1/" + bus + below);
        file("dev/" + tty);
    }

private:
    QTemporaryDir dir_;
};

QStringList paths(const QList<SerialDevice>& devices) {
    QStringList list;
    for (const SerialDevice& device : devices) list << device.path;
    return list;
}

}  // namespace

TEST(SerialDevices, NothingPluggedInAndNoUart) {
    FakeSystem system;
    system.uart(0, 0);
    system.uart(1, 0);
    system.file("dev/tty0");
    system.file("dev/ttyUSB");
    EXPECT_TRUE(findSerialDevices(system.root()).isEmpty());
}

TEST(SerialDevices, AdaptersByIdFirstThenByNumberThenUarts) {
    FakeSystem system;
    system.uart(0, 4);
    system.uart(1, 0);
    system.uart(10, 4);
    system.uart(2, 4);
    system.usb("ttyUSB0", "1-2", "Prolific Technology Inc.", "USB-Serial Controller", "");
    system.usb("ttyUSB1", "1-1", "FTDI", "FT232R USB UART", "A50285BI");
    system.usb("ttyUSB10", "1-4", "", "", "");
    system.usb("ttyUSB2", "1-5", "", "", "");
    system.usb("ttyACM0", "1-3", "Arduino (www.arduino.cc)", "Arduino Uno", "8573531");
    // udev's names for two of them; the FTDI adapter's sorts first.
    system.link("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB1");
    system.link("dev/serial/by-id/usb-Arduino__www.arduino.cc__Arduino_Uno_8573531-if00",
                "../../ttyACM0");

    const QList<SerialDevice> found = findSerialDevices(system.root());
    EXPECT_EQ(paths(found),
              QStringList({"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyUSB2",
                           "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}));
    ASSERT_EQ(found.size(), 8);
    EXPECT_EQ(found[0],
              (SerialDevice{"/dev/ttyACM0", "usb-Arduino__www.arduino.cc__Arduino_Uno_8573531-if00",
                            "Arduino (www.arduino.cc) Arduino Uno", "8573531"}));
    EXPECT_EQ(found[1],
              (SerialDevice{"/dev/ttyUSB1", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                            "FTDI FT232R USB UART", "A50285BI"}));
    EXPECT_EQ(found[2], (SerialDevice{"/dev/ttyUSB0", "",
                                      "Prolific Technology Inc. USB-Serial Controller", ""}));
    EXPECT_EQ(found[3], (SerialDevice{"/dev/ttyUSB2", "", "", ""}));
    EXPECT_EQ(found[5], (SerialDevice{"/dev/ttyS0", "", "", ""}));

    // The same machine read again gives the same names.
    EXPECT_EQ(findSerialDevices(system.root() + "/"), found);
}

TEST(SerialDevices, WithoutSysTheByIdNameTellsTheAdapter) {
    FakeSystem system;
    system.file("dev/ttyUSB0");
    system.link("dev/serial/by-id/usb-1a86_USB2.0-Serial_A9EJR9X5-if00-port0", "../../ttyUSB0");
    system.link("dev/serial/by-id/usb-gone_adapter_X1-if00-port0", "../../ttyUSB7");
    const QList<SerialDevice> found = findSerialDevices(system.root());
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0], (SerialDevice{"/dev/ttyUSB0", "usb-1a86_USB2.0-Serial_A9EJR9X5-if00-port0",
                                      "1a86 USB2.0-Serial", "A9EJR9X5"}));
}

TEST(SerialDevices, ByIdNames) {
    const ByIdParts ftdi = parseByIdName("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    EXPECT_EQ(ftdi.description, "FTDI FT232R USB UART");
    EXPECT_EQ(ftdi.serialNumber, "A50285BI");
    const ByIdParts acm = parseByIdName("usb-Silicon_Labs_CP2102_0001-if01");
    EXPECT_EQ(acm.description, "Silicon Labs CP2102");
    EXPECT_EQ(acm.serialNumber, "0001");
    const ByIdParts bare = parseByIdName("pci-Oxford-if00");
    EXPECT_EQ(bare.description, "Oxford");
    EXPECT_EQ(bare.serialNumber, "");
}

TEST(SerialDevices, SettingsEntriesAndFoundDevicesTogether) {
    FakeSystem system;
    system.uart(0, 4);
    system.usb("ttyUSB0", "1-1", "FTDI", "FT232R USB UART", "A50285BI");
    system.file("Tabulon.ini", "[Ports]\r\nCOM2=/dev/pts/3\r\n");
    const QList<PortAssignment> ports =
        portAssignments(system.root() + "/Tabulon.ini", system.root());
    EXPECT_EQ(ports[0].device, "/dev/ttyUSB0");
    EXPECT_EQ(ports[1].device, "/dev/pts/3");
    EXPECT_EQ(ports[2].device, "/dev/ttyS0");
    EXPECT_EQ(ports[3].source, PortSource::None);
}
