#pragma once

#include "cli/cli_commands.h"

namespace tabulon::cli {

// The turnover reports out of the register into delimited text files, on the
// window's download: the file names of Tabulon.ini's Reports section (the
// defaults without one), every record by the ten-attempt policy, and the
// first failed record ending the whole download.
CliResult runReports(const CliContext& context);

// The files runReports writes for the request: the reports --only names (all
// seven without it) in --dir, under the names Tabulon.ini gives them. None
// for a request the command would refuse.
QStringList reportFiles(const CliRequest& request);

}  // namespace tabulon::cli
