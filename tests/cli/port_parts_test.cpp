#include <gtest/gtest.h>

#include "cli/cli_request.h"
#include "cli/port_commands.h"

using namespace tabulon;
using namespace tabulon::cli;
using ports::PortAssignment;
using ports::PortSource;
using ports::SerialDevice;

namespace {

QList<PortAssignment> machine() {
    QList<PortAssignment> ports = ports::assignPorts(
        {{3, "/dev/pts/4"}},
        {SerialDevice{"/dev/ttyUSB0", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                      "FTDI FT232R USB UART", "A50285BI"},
         SerialDevice{"/dev/ttyS0", "", "", ""}});
    return ports;
}

CliRequest scanRequest(const QStringList& options) {
    const ParsedCliRequest parsed = parseCliRequest(options + QStringList{"scan"});
    EXPECT_TRUE(parsed.request) << qPrintable(parsed.error);
    return parsed.request.value_or(CliRequest());
}

}  // namespace

TEST(PortsListing, OneAlignedLineForEachName) {
    EXPECT_EQ(portsListing(machine()),
              "COM1  /dev/ttyUSB0  FTDI FT232R USB UART, serial A50285BI\n"
              "COM2  /dev/ttyS0\n"
              "COM3  /dev/pts/4    [Ports]\n"
              "COM4  -\n"
              "COM5  -\n"
              "COM6  -\n"
              "COM7  -\n"
              "COM8  -\n"
              "COM9  -\n");
}

TEST(ScanPlan, DefaultsAreEveryMappedPortEverySpeedAndRegistersOneToFive) {
    QString error;
    const auto plan = scanPlan(scanRequest({}), machine(), error);
    ASSERT_TRUE(plan) << qPrintable(error);
    ASSERT_EQ(plan->ports.size(), 3);
    EXPECT_EQ(plan->ports[0].name, "COM1");
    EXPECT_EQ(plan->ports[0].device, "/dev/ttyUSB0");
    EXPECT_EQ(plan->ports[0].number, 1);
    EXPECT_EQ(plan->ports[2].name, "COM3");
    EXPECT_EQ(plan->ports[2].device, "/dev/pts/4");
    EXPECT_EQ(plan->ports[2].number, 3);
    EXPECT_EQ(plan->speeds,
              (QList<int>{4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700, 115200}));
    EXPECT_EQ(plan->registers, (QList<int>{1, 2, 3, 4, 5}));
}

TEST(ScanPlan, NarrowedByTheOptions) {
    QString error;
    const auto plan = scanPlan(scanRequest({"--ports", "com9,/dev/ttyACM0,COM3", "--speeds",
                                            "9600,4800,9600", "--registers", "7,2-3,3"}),
                               machine(), error);
    ASSERT_TRUE(plan) << qPrintable(error);
    ASSERT_EQ(plan->ports.size(), 3);
    // COM9 stands for nothing: the scan tells so when it comes to it.
    EXPECT_EQ(plan->ports[0].name, "COM9");
    EXPECT_EQ(plan->ports[0].device, "");
    EXPECT_EQ(plan->ports[1].name, "/dev/ttyACM0");
    EXPECT_EQ(plan->ports[1].device, "/dev/ttyACM0");
    EXPECT_EQ(plan->ports[1].number, 1);
    EXPECT_EQ(plan->ports[2].device, "/dev/pts/4");
    EXPECT_EQ(plan->speeds, (QList<int>{9600, 4800}));
    EXPECT_EQ(plan->registers, (QList<int>{7, 2, 3}));
}

// Serial servers of [Ports] are listed with their kind and scanned with the
// local ports; one named in --ports is taken as it is.
TEST(ScanPlan, ServersOfThePortsSectionAreListedAndScanned) {
    const QList<PortAssignment> ports =
        ports::assignPorts({{2, "rfc2217://10.0.3.7:4001"}, {4, "tcp://10.0.3.7:4002"}},
                           {SerialDevice{"/dev/ttyS0", "", "", ""}});
    EXPECT_EQ(portsListing(ports),
              "COM1  /dev/ttyS0\n"
              "COM2  rfc2217://10.0.3.7:4001  serial server, RFC 2217, [Ports]\n"
              "COM3  -\n"
              "COM4  tcp://10.0.3.7:4002      serial server, raw TCP, [Ports]\n"
              "COM5  -\n"
              "COM6  -\n"
              "COM7  -\n"
              "COM8  -\n"
              "COM9  -\n");
    QString error;
    const auto plan = scanPlan(scanRequest({}), ports, error);
    ASSERT_TRUE(plan) << qPrintable(error);
    QStringList scanned;
    for (const ScanPort& port : plan->ports)
        scanned << QStringLiteral("%1 %2 %3").arg(port.name, port.device).arg(port.number);
    EXPECT_EQ(scanned, (QStringList{"COM1 /dev/ttyS0 1", "COM2 rfc2217://10.0.3.7:4001 2",
                                    "COM4 tcp://10.0.3.7:4002 4"}));
    const auto named = scanPlan(scanRequest({"--ports", "tcp://box:950"}), ports, error);
    ASSERT_TRUE(named) << qPrintable(error);
    ASSERT_EQ(named->ports.size(), 1);
    EXPECT_EQ(named->ports[0].name, "tcp://box:950");
    EXPECT_EQ(named->ports[0].device, "tcp://box:950");
}
