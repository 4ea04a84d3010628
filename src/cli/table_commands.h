#pragma once

#include "cli/cli_commands.h"

namespace tabulon::cli {

// Whole tables between table files and the register, on the window's run
// engine: the same records, bounds, attempts and verdicts.
CliResult runWriteTable(const CliContext& context);
CliResult runReadTable(const CliContext& context);
// Reads the records a write of FILE would write and tells the fields that
// differ; the register is left as it was.
CliResult runCompareTable(const CliContext& context);
CliResult runClearTable(const CliContext& context);

}  // namespace tabulon::cli
