#pragma once

#include <QStringList>

namespace tabulon::cli {

// tabulon-cli --fleet ...: reads the fleet file, runs the command on every
// register (each line on its own thread), prints the outcome table on
// standard output and writes the report. Returns the exit status: 0 when
// every register succeeded, 1 when any did not, 2 when the command line or
// the fleet file is wrong (and nothing was sent).
int runFleetCli(const QStringList& arguments);

}  // namespace tabulon::cli
