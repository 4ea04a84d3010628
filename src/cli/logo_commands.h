#pragma once

#include "cli/cli_commands.h"

namespace tabulon::cli {

// The receipt logo between a BMP file and the register's table 136, on the
// window's codec and exchanges: the first record that fails ends it.
CliResult runWriteLogo(const CliContext& context);
CliResult runReadLogo(const CliContext& context);

}  // namespace tabulon::cli
