// The command line of a fleet run: what it takes, what it refuses before
// anything is sent, and each register's command made from it.
#include "cli/fleet_request.h"

#include <gtest/gtest.h>

#include "cli/cli_commands.h"
#include "support/qt_print.h"

namespace tabulon::cli {
namespace {

TEST(FleetRequest, MistakesOfTheCommandLine) {
    const QString commands =
        "--fleet goes with detect, write-table, read-table, clear-table, write-logo, read-logo, "
        "reports, compare-table";
    const QString perRegister =
        " does not go with --fleet: the fleet file gives each register's port, speed, number "
        "and model";
    const struct {
        QStringList arguments;
        QString error;
    } rows[] = {
        {{"--fleet", "f", "--port", "COM1", "detect"}, "--port" + perRegister},
        {{"--fleet", "f", "--speed=9600", "detect"}, "--speed" + perRegister},
        {{"--register", "2", "--fleet", "f", "detect"}, "--register" + perRegister},
        {{"--fleet", "f", "--model", "neon", "clear-table", "goods"}, "--model" + perRegister},
        {{"--jobs", "2", "detect"}, "--jobs, --report and --only-failed go with --fleet FILE"},
        {{"--report=r.csv", "detect"}, "--jobs, --report and --only-failed go with --fleet FILE"},
        {{"--fleet", "f", "--jobs", "0", "detect"}, "--jobs takes a whole number from 1 up"},
        {{"--fleet", "f", "--jobs=two", "detect"}, "--jobs takes a whole number from 1 up"},
        {{"--fleet"}, "--fleet needs a value"},
        {{"--fleet=", "detect"}, "--fleet needs a value"},
        {{"--fleet", "f", "read", "1", "1"}, commands},
        {{"--fleet", "f", "scan"}, commands},
        {{"--fleet", "f", "frobnicate"}, "unknown command frobnicate"},
        {{"--fleet", "f", "--verify", "read-table", "goods", "x/{name}.art"},
         "--verify does not go with read-table"},
        {{"--fleet", "f", "read-table", "goods", "backup/all.art"},
         "read-table backup/all.art would be the same file for every register: put {name} in it"},
        {{"--fleet", "f", "read-logo", "logo.bmp"},
         "read-logo logo.bmp would be the same file for every register: put {name} in it"},
        {{"--fleet", "f", "reports", "--dir", "out"},
         "reports --dir out would be the same file for every register: put {name} in it"},
        {{"--fleet", "f", "--trace", "t.log", "write-table", "goods", "g.art"},
         "--trace t.log would be the same file for every register: put {name} in it"},
    };
    for (const auto& row : rows) {
        const ParsedFleetRequest parsed = parseFleetRequest(row.arguments);
        EXPECT_FALSE(parsed.request) << qPrintable(row.arguments.join(' '));
        EXPECT_EQ(parsed.error, row.error) << qPrintable(row.arguments.join(' '));
    }
}

TEST(FleetRequest, EachRegistersCommand) {
    const ParsedFleetRequest parsed = parseFleetRequest(
        {"--fleet=shop.txt", "--jobs", "3", "--report", "r.csv", "--only-failed=old.csv",
         "--only-changed", "old/{name}.art", "--trace", "t/{name}.log", "--verify", "write-table",
         "goods", "new/{name}-{name}.art"});
    ASSERT_TRUE(parsed.request) << qPrintable(parsed.error);
    const FleetRequest& request = *parsed.request;
    EXPECT_EQ(request.file, "shop.txt");
    EXPECT_EQ(request.jobs, 3);
    EXPECT_EQ(request.report, "r.csv");
    EXPECT_EQ(request.onlyFailed, "old.csv");

    const CliRequest one = registerRequest(
        request.command, fleet::FleetRegister{"k-7", "/dev/ttyUSB1", 57700, 7, Model::Neon, 4});
    EXPECT_EQ(one.command->name, u"write-table");
    EXPECT_EQ(one.port, "/dev/ttyUSB1");
    EXPECT_EQ(one.speed, 57700);
    EXPECT_EQ(one.registerNumber, 7);
    EXPECT_EQ(one.model, Model::Neon);
    EXPECT_TRUE(one.verify);
    EXPECT_EQ(one.arguments, (QStringList{"goods", "new/k-7-k-7.art"}));
    EXPECT_EQ(one.onlyChanged, "old/k-7.art");
    EXPECT_EQ(one.trace, "t/k-7.log");

    // A port of the file is checked as --port is.
    EXPECT_EQ(portProblem("COM3"), std::nullopt);
    EXPECT_EQ(portProblem("/dev/ttyS0"), std::nullopt);
    EXPECT_EQ(portProblem("COM10").value_or(""), "--port takes COM1 to COM9 or a device path");
    EXPECT_EQ(portProblem("tcp://h:65536").value_or(""),
              "--port takes a serial server as tcp://HOST:PORT or rfc2217://HOST:PORT, the port "
              "1 to 65535");
    // One server under two spellings is one line.
    EXPECT_EQ(lineOfPort("tcp://LocalHost:4001/"), "tcp://127.0.0.1:4001");
    EXPECT_EQ(lineOfPort("rfc2217://127.0.0.1:4001"), "rfc2217://127.0.0.1:4001");
}

}  // namespace
}  // namespace tabulon::cli
