#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "cli/cli_commands.h"
#include "link/result_codes.h"

namespace tabulon::link {
class RegisterLink;
}

namespace tabulon::cli {

// What a cause means, in words: "the register refused the record ("E"
// reply)". The words alone serve, so the number is left out; what the number
// means stands in where the operation has no such cause.
QString causeWords(link::Operation operation, link::ResultCause cause, int result);

// Why the link's last operation failed, in the words of its cause, with the
// system's words after it where they say more.
QString linkError(const link::RegisterLink& link, link::Operation operation, int result,
                  const QString& detail = QString());

// The link of a request: a serial port, traced into the request's trace file
// if it names one. COMn goes through `Tabulon.ini` in the working directory
// as in the window; a device path is the one port the command uses. nullptr
// with `error` set when the trace file cannot be opened.
std::unique_ptr<link::RegisterLink> makeCliLink(const CliRequest& request, QString& error);

// The port number OpenPort is given for the request's port.
int cliPortNumber(const CliRequest& request);

// Opens the request's port at its speed; the failure to report when it does
// not open.
std::optional<CliResult> openPort(const CliContext& context);
// Closes the port (with its release sequence); the failure when closing fails.
std::optional<CliResult> closePort(const CliContext& context);

}  // namespace tabulon::cli
