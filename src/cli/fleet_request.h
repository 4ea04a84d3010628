#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "cli/cli_request.h"
#include "fleet/fleet_file.h"

namespace tabulon::cli {

// tabulon-cli --fleet FILE [--jobs N] [--report FILE] [--only-failed REPORT]
// COMMAND ...: the command of one register, run on every register of FILE.
struct FleetRequest : FleetOptions {
    CliRequest command;  // as for one register, less where the register is
};

struct ParsedFleetRequest {
    std::optional<FleetRequest> request;  // nullopt: `error` says what is wrong
    QString error;
};

// The arguments after the program name.
ParsedFleetRequest parseFleetRequest(const QStringList& arguments);

// "{name}" in `text` replaced by the register's name.
QString withName(const QString& text, const QString& name);

// The command for one register: where it is from the fleet file, "{name}" in
// every file name replaced by its name.
CliRequest registerRequest(const CliRequest& command, const fleet::FleetRegister& entry);

// Why a port of the fleet file is none that --port takes; nullopt when it
// is one.
std::optional<QString> portProblem(const QString& port);

// A text that tells two port names apart when they are two lines, and gives
// the same text for two names of one line (COM3, com3, and the device COM3
// is mapped to; tcp://localhost:2000 and tcp://127.0.0.1:2000).
QString lineOfPort(const QString& port);

}  // namespace tabulon::cli
