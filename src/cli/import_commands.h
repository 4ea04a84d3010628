#pragma once

#include <QString>
#include <optional>
#include <variant>

#include "catalogue/table_kind.h"
#include "cli/cli_commands.h"

namespace tabulon {
class GridModel;
}

namespace tabulon::cli {

// A file a spreadsheet wrote (.csv, .tsv), as opposed to a table file
// of the program's own.
bool isSpreadsheetFile(const QString& path);

// Reads the spreadsheet file into the grid with the request's --columns,
// --delimiter, --encoding and --rows. How the file was read and where its
// columns go is put in `mapping`, the values cut short in `warnings`, a
// line each. The rows the file gave, in order; else the command's end, with
// the grid as it was (the refusals, without what the command does not do).
std::variant<QList<int>, CliResult> importSpreadsheet(const CliRequest& request, TableKind kind,
                                                      const QString& path, GridModel& grid,
                                                      QStringList& mapping, QStringList& warnings);

// The spreadsheet options given to a command whose file is none: they would
// go unused. nullopt when there is none.
std::optional<CliResult> unusedSpreadsheetOptions(const CliRequest& request);

CliResult runImport(const CliContext& context);
CliResult runExport(const CliContext& context);

}  // namespace tabulon::cli
