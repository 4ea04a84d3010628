#pragma once

#include <QString>

#include "catalogue/table_kind.h"
#include "cli/cli_commands.h"

namespace tabulon::cli {

// The three parameter sets, one record each, between their table files and
// the register. `name` is the set's table name for the outcome ("cash").
CliResult writeParameterSet(const CliContext& context, ParameterSet set, const QString& name,
                            const QString& path);
CliResult readParameterSet(const CliContext& context, ParameterSet set, const QString& name,
                           const QString& path);

}  // namespace tabulon::cli
