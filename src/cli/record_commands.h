#pragma once

#include "cli/cli_commands.h"

namespace tabulon::cli {

// Single exchanges: the port is opened, the one operation goes out, the port
// is closed, so the register sees nothing but that exchange and the release
// of closing.
CliResult runDetect(const CliContext& context);
CliResult runReadRecord(const CliContext& context);
CliResult runWriteRecord(const CliContext& context);
CliResult runReset(const CliContext& context);

}  // namespace tabulon::cli
