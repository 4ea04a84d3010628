#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "cli/cli_commands.h"
#include "ports/port_map.h"

namespace tabulon::cli {

// `ports`: what COM1..COM9 stand for on this machine.
CliResult runPorts(const CliContext& context);
// `scan`: the detection of connecting, over ports, speeds and register numbers.
CliResult runScan(const CliContext& context);

// One line a COM name: name, device, and what is known of the adapter.
QString portsListing(const QList<ports::PortAssignment>& assigned);

// A port the scan tries: its name for the user and the device opened.
struct ScanPort {
    QString name;    // "COM2", or the device path when one was named
    QString device;  // empty: nothing stands for the COM name
    int number = 1;  // what OpenPort is given
};

// What a scan covers; nullopt with `error` set for a wrong option value.
struct ScanPlan {
    QList<ScanPort> ports;
    QList<int> speeds;
    QList<int> registers;
};
std::optional<ScanPlan> scanPlan(const CliRequest& request,
                                 const QList<ports::PortAssignment>& assignments, QString& error);

}  // namespace tabulon::cli
