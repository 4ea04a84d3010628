#pragma once

#include "cli/cli_commands.h"

namespace tabulon::cli {

// The turnover reports out of the register into delimited text files, on the
// window's download: the file names of Tabulon.ini's Reports section (the
// defaults without one), every record by the ten-attempt policy, and the
// first failed record ending the whole download.
CliResult runReports(const CliContext& context);

}  // namespace tabulon::cli
