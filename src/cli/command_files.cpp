#include "cli/command_files.h"

#include <QFileInfo>

#include "cli/cli_commands.h"
#include "cli/report_commands.h"
#include "disk/same_file.h"
#include "settings/settings_file.h"

namespace tabulon::cli {

QList<CommandFile> commandInputs(const CliRequest& request) {
    QList<CommandFile> inputs;
    const QString command = request.command ? request.command->name.toString() : QString();
    if (command == u"write-table" || command == u"compare-table") {
        inputs << CommandFile{QStringLiteral("the table file of %1").arg(command),
                              request.arguments.value(1)};
    }
    if (command == u"import" || command == u"export")
        inputs << CommandFile{QStringLiteral("the input of %1").arg(command),
                              request.arguments.value(1)};
    if (command == u"write-logo")
        inputs << CommandFile{QStringLiteral("the picture of write-logo"),
                              request.arguments.value(0)};
    if (!request.onlyChanged.isEmpty())
        inputs << CommandFile{QStringLiteral("the old file of --only-changed"),
                              request.onlyChanged};
    const QString settingsFile = settings::workingSettingsFile();
    if (QFileInfo::exists(settingsFile))
        inputs << CommandFile{QStringLiteral("the settings file"), settingsFile};
    return inputs;
}

QList<CommandFile> commandOutputs(const CliRequest& request) {
    QList<CommandFile> outputs;
    const QString command = request.command ? request.command->name.toString() : QString();
    if (command == u"read-table") outputs << CommandFile{command, request.arguments.value(1)};
    if (command == u"import" || command == u"export")
        outputs << CommandFile{command, request.arguments.value(2)};
    if (command == u"read-logo") outputs << CommandFile{command, request.arguments.value(0)};
    if (command == u"reports") {
        for (const QString& file : reportFiles(request)) outputs << CommandFile{command, file};
    }
    if (!request.trace.isEmpty()) outputs << CommandFile{QStringLiteral("--trace"), request.trace};
    return outputs;
}

std::optional<QString> outputOverInput(const QList<CommandFile>& outputs,
                                       const QList<CommandFile>& inputs) {
    QList<CommandFile> earlier = inputs;
    for (const CommandFile& output : outputs) {
        for (const CommandFile& other : earlier) {
            if (disk::sameFile(output.path, other.path)) {
                return QStringLiteral("%1 %2 would write over %3 %4")
                    .arg(output.role, output.path, other.role, other.path);
            }
        }
        earlier << output;
    }
    return std::nullopt;
}

}  // namespace tabulon::cli
