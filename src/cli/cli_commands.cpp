#include "cli/cli_commands.h"

#include "cli/import_commands.h"
#include "cli/logo_commands.h"
#include "cli/port_commands.h"
#include "cli/record_commands.h"
#include "cli/report_commands.h"
#include "cli/table_commands.h"

namespace tabulon::cli {

QString counted(qsizetype count, QStringView noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? u"" : u"s");
}

CliResult usageError(const QString& error) {
    return {kExitUsage, QString(), error, true};
}

CliResult inputError(const QString& error) {
    return {kExitUsage, QString(), error, false};
}

CliResult failure(const QString& error) {
    return {kExitFailed, QString(), error, false};
}

QString optionName(CliOption option) {
    switch (option) {
        case kModelOption:
            return QStringLiteral("--model");
        case kIntervalOption:
            return QStringLiteral("--interval");
        case kOnFailureOption:
            return QStringLiteral("--on-failure");
        case kVerifyOption:
            return QStringLiteral("--verify");
        case kOnlyChangedOption:
            return QStringLiteral("--only-changed");
        case kOnlyDifferingOption:
            return QStringLiteral("--only-differing");
        case kPortsOption:
            return QStringLiteral("--ports");
        case kSpeedsOption:
            return QStringLiteral("--speeds");
        case kRegistersOption:
            return QStringLiteral("--registers");
        case kAllOption:
            return QStringLiteral("--all");
        case kDirOption:
            return QStringLiteral("--dir");
        case kSeparatorOption:
            return QStringLiteral("--separator");
        case kOnlyOption:
            return QStringLiteral("--only");
        case kColumnsOption:
            return QStringLiteral("--columns");
        case kDelimiterOption:
            return QStringLiteral("--delimiter");
        case kEncodingOption:
            return QStringLiteral("--encoding");
        case kRowsOption:
            return QStringLiteral("--rows");
        case kDecimalPointOption:
            return QStringLiteral("--decimal-point");
    }
    return {};
}

const QList<CliCommand>& cliCommands() {
    constexpr unsigned kTableRun = kModelOption | kIntervalOption | kOnFailureOption;
    constexpr unsigned kSpreadsheet =
        kColumnsOption | kDelimiterOption | kEncodingOption | kRowsOption;
    static const QList<CliCommand> commands{
        {u"detect", u"", u"check that the register answers; prints \"found\"", 0, 0, runDetect},
        {u"read", u"TABLE RECORD", u"read a record; prints the register's reply", 2, 0,
         runReadRecord},
        {u"write", u"TABLE RECORD DATA", u"write DATA (fields each closed by \";\") into a record",
         3, 0, runWriteRecord},
        {u"reset", u"", u"release the line and pause for a second", 0, 0, runReset},
        {u"write-table", u"TABLE FILE", u"write the table in FILE into the register", 2,
         kTableRun | kVerifyOption | kOnlyChangedOption | kOnlyDifferingOption | kSpreadsheet,
         runWriteTable},
        {u"read-table", u"TABLE FILE", u"read the table out of the register into FILE", 2,
         kTableRun, runReadTable},
        {u"compare-table", u"TABLE FILE", u"print where the register differs from FILE", 2,
         kTableRun, runCompareTable},
        {u"clear-table", u"TABLE", u"reset the table in the register to its default records", 1,
         kModelOption, runClearTable},
        {u"ports", u"", u"list COM1 to COM9 with their devices and adapters", 0, 0, runPorts},
        {u"scan", u"", u"look for registers on the ports, at the speeds, by number", 0,
         kPortsOption | kSpeedsOption | kRegistersOption | kAllOption, runScan},
        {u"write-logo", u"FILE.bmp", u"write the picture in a BMP file as the receipt logo", 1, 0,
         runWriteLogo},
        {u"read-logo", u"FILE.bmp", u"read the receipt logo into a BMP file", 1, 0, runReadLogo},
        {u"reports", u"", u"read the turnover reports into files in --dir", 0,
         kModelOption | kOnFailureOption | kDirOption | kSeparatorOption | kOnlyOption, runReports},
        {u"import", u"TABLE IN.csv OUT", u"turn a spreadsheet's CSV into a table file", 3,
         kModelOption | kSpreadsheet, runImport},
        {u"export", u"TABLE IN OUT.csv", u"write a table file as CSV for a spreadsheet", 3,
         kModelOption | kDecimalPointOption, runExport},
    };
    return commands;
}

const CliCommand* findCliCommand(QStringView name) {
    for (const CliCommand& command : cliCommands()) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

}  // namespace tabulon::cli
