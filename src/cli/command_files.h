#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "cli/cli_request.h"

namespace tabulon::cli {

// A file a command reads or writes, with what the messages call it.
struct CommandFile {
    QString role;  // "the table file of write-table", "--trace"
    QString path;
};

// What the request reads: the file of write-table or write-logo, the old
// file of --only-changed, and Tabulon.ini where there is one.
QList<CommandFile> commandInputs(const CliRequest& request);
// What it writes: the file of read-table or read-logo, the report files, the
// trace.
QList<CommandFile> commandOutputs(const CliRequest& request);

// The first output that is one of the inputs, or an output before it, as one
// file: written, it would destroy what the command reads or writes.
// "--report prices.otd would write over the table file of write-table
// prices.otd"; nullopt when there is none.
std::optional<QString> outputOverInput(const QList<CommandFile>& outputs,
                                       const QList<CommandFile>& inputs);

}  // namespace tabulon::cli
