#include "cli/cli_request.h"

#include <QHash>

#include "cli/cli_commands.h"
#include "cli/table_names.h"
#include "link/line_bytes.h"
#include "link/line_settings.h"
#include "link/network_address.h"
#include "options/command_line.h"
#include "ports/com_names.h"

namespace tabulon::cli {

namespace {

// Switches, by the flag each sets.
const QHash<QString, bool CliRequest::*> kSwitches{
    {QStringLiteral("--verify"), &CliRequest::verify},
    {QStringLiteral("--quiet"), &CliRequest::quiet},
    {QStringLiteral("--only-differing"), &CliRequest::onlyDiffering},
    {QStringLiteral("--all"), &CliRequest::scanAll},
    {QStringLiteral("--decimal-point"), &CliRequest::decimalPoint}};

// Options whose value the command itself reads, kept as given.
const QHash<QString, QString CliRequest::*> kKeptAsGiven{
    {QStringLiteral("--dir"), &CliRequest::reportDirectory},
    {QStringLiteral("--separator"), &CliRequest::separator},
    {QStringLiteral("--ports"), &CliRequest::scanPorts},
    {QStringLiteral("--speeds"), &CliRequest::scanSpeeds},
    {QStringLiteral("--registers"), &CliRequest::scanRegisters},
    {QStringLiteral("--columns"), &CliRequest::columns},
    {QStringLiteral("--delimiter"), &CliRequest::delimiter},
    {QStringLiteral("--encoding"), &CliRequest::encoding},
    {QStringLiteral("--rows"), &CliRequest::rows}};

using options::Takes;

// Every option tabulon-cli knows, a fleet run's among them.
const QList<options::Option> kOptions{
    {u"port", Takes::Value},        {u"speed", Takes::Value},
    {u"register", Takes::Value},    {u"model", Takes::Value},
    {u"interval", Takes::Value},    {u"on-failure", Takes::Value},
    {u"verify", Takes::Nothing},    {u"only-changed", Takes::Value},
    {u"trace", Takes::Value},       {u"quiet", Takes::Nothing},
    {u"ports", Takes::Value},       {u"speeds", Takes::Value},
    {u"registers", Takes::Value},   {u"all", Takes::Nothing},
    {u"dir", Takes::Value},         {u"separator", Takes::Value},
    {u"only", Takes::Value},        {u"fleet", Takes::Value},
    {u"jobs", Takes::Value},        {u"report", Takes::Value},
    {u"only-failed", Takes::Value}, {u"help", Takes::Nothing},
    {u"version", Takes::Nothing},   {u"only-differing", Takes::Nothing},
    {u"columns", Takes::Value},     {u"delimiter", Takes::Value},
    {u"encoding", Takes::Value},    {u"rows", Takes::Value},
};

// export's switch, in a list of its own: too long for the columns above.
const QList<options::Option> kAllOptions =
    kOptions + QList<options::Option>{{u"decimal-point", Takes::Nothing}};

// Where the register is comes from the fleet file, one line each.
const QStringList kPerRegister{QStringLiteral("--port"), QStringLiteral("--speed"),
                               QStringLiteral("--register"), QStringLiteral("--model")};

// Options only some commands take, by the bit the commands list them with.
const CliOption kCommandOptions[] = {
    kModelOption,     kIntervalOption, kOnFailureOption,     kVerifyOption,  kOnlyChangedOption,
    kPortsOption,     kSpeedsOption,   kRegistersOption,     kAllOption,     kDirOption,
    kSeparatorOption, kOnlyOption,     kOnlyDifferingOption, kColumnsOption, kDelimiterOption,
    kEncodingOption,  kRowsOption,     kDecimalPointOption};

}  // namespace

QString cliUsage() {
    QString usage = QStringLiteral(
        "Usage: tabulon-cli [--port NAME] [--speed N] [--register N] COMMAND\n"
        "       tabulon-cli [--port NAME] [--speed N] [--register N] [--model MODEL]\n"
        "                   [--interval START:END:FIRST] [--on-failure abort|skip]\n"
        "                   [--verify] [--only-changed OLD_FILE] [--only-differing]\n"
        "                   [--trace FILE] [--quiet] TABLE-COMMAND\n"
        "       tabulon-cli --fleet FILE [--jobs N] [--report FILE] [--only-failed REPORT]\n"
        "                   [OPTION...] COMMAND\n"
        "Talks to one cash register on a serial line: opens the port, does the one\n"
        "operation, and closes the port again. With --fleet, does it on every register\n"
        "of FILE, the registers of different ports at once.\n"
        "\n"
        "  --port NAME      COM1 to COM9 (mapped through [Ports] of Tabulon.ini in the\n"
        "                   working directory, else to the serial devices found, as\n"
        "                   the ports command lists them), a device path, or a serial\n"
        "                   server: tcp://HOST:PORT (raw) or rfc2217://HOST:PORT;\n"
        "                   default COM1\n"
        "  --speed N        4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700 or\n"
        "                   115200; default 4800\n"
        "  --register N     the register's number, 1 to 99; default 1\n"
        "  --model MODEL    mp-550t, mp-50-junior or neon; default mp-550t\n"
        "  --interval START:END:FIRST\n"
        "                   goods only: rows START to END go to (or come from) the\n"
        "                   records from FIRST on\n"
        "  --on-failure abort|skip\n"
        "                   after a record failed ten times: stop there (abort, the\n"
        "                   default), or reopen the port and go on with the next (skip)\n"
        "  --verify         write-table: read every record back and compare it\n"
        "  --only-changed OLD_FILE\n"
        "                   write-table of a grid table: write only the rows that differ\n"
        "                   from the same line of OLD_FILE\n"
        "  --only-differing write-table of a grid table: compare with the register\n"
        "                   first and write only the rows that differ, and those it\n"
        "                   could not read\n"
        "  --dir DIR        reports: the directory the report files go into\n"
        "  --separator C    reports: the field separator of the files; default \";\"\n"
        "  --only NAMES     reports: only these, of art, otd, grp, operat, nalog, opl\n"
        "                   and operac, separated by commas; default all seven\n"
        "  --ports LIST     scan: these ports (COM names or devices, separated by\n"
        "                   commas); default every COM name that stands for a device\n"
        "  --speeds LIST    scan: these speeds; default every one --speed takes\n"
        "  --registers LIST scan: these register numbers (1-5,7); default 1-5\n"
        "  --all            scan: go on after the first register found\n"
        "  --columns MAP    import, write-table of a CSV file: where each column of the\n"
        "                   file goes, in file order, separated by commas: a table\n"
        "                   column's number or heading, or - to leave it out; default\n"
        "                   by the headings of the file's first line, else in order\n"
        "  --delimiter C    import, write-table of a CSV file: \";\", \",\" or tab; default\n"
        "                   the one the first line holds most\n"
        "  --encoding E     import, write-table of a CSV file: utf-8, utf-16le,\n"
        "                   utf-16be or windows-1251; default by a byte-order mark,\n"
        "                   else UTF-16 where bytes are zero, UTF-8 where the bytes\n"
        "                   are UTF-8, else windows-1251\n"
        "  --rows code|order\n"
        "                   import, write-table of a CSV file: goods code N into row N\n"
        "                   (the row number for the other tables), or the file's rows\n"
        "                   in order; default code where the file has a code column\n"
        "  --decimal-point  export: prices and quantities with \".\", not \",\"\n"
        "  --trace FILE     append every byte sent and received to FILE\n"
        "  --quiet          no progress line on a terminal\n"
        "  --fleet FILE     every register of FILE, one a line: name, port, speed,\n"
        "                   register number, model (# starts a comment); the command\n"
        "                   is detect, write-table, read-table, clear-table,\n"
        "                   write-logo, read-logo, reports or compare-table, and\n"
        "                   {name} in a file or directory name stands for the\n"
        "                   register's name\n"
        "  --jobs N         --fleet: work at most N ports at once; default all\n"
        "  --report FILE    --fleet: write each register's outcome into FILE (CSV);\n"
        "                   compare-table adds the rows that differ (differ)\n"
        "  --only-failed REPORT\n"
        "                   --fleet: only the registers REPORT lists as not done\n"
        "  --help           show this text\n"
        "  --version        show the version\n"
        "\n"
        "Commands:\n");
    for (const CliCommand& command : cliCommands()) {
        QString shape = command.name.toString();
        if (!command.synopsis.isEmpty()) shape += u' ' + command.synopsis.toString();
        usage += QStringLiteral("  %1 %2\n").arg(shape, -27).arg(command.summary.toString());
    }
    usage +=
        QStringLiteral(
            "\n"
            "TABLE of the table commands: %1.\n"
            "FILE is a table file of that table as the window's \"Открыть\" and \"Сохранить\"\n"
            "read and write it for the model. clear-table leaves a record that fails ten\n"
            "times (a second apart) as it was and goes on.\n"
            "write-table also takes a spreadsheet's CSV (.csv, .tsv), read as\n"
            "import reads it, and writes only the rows it gives. import and export take\n"
            "a grid table; every value of the file is checked as the register would\n"
            "take it before anything is written.\n"
            "compare-table takes a grid table and only reads: it prints each field the\n"
            "register holds otherwise than FILE, row by row, then a summary; rows it\n"
            "could not read are listed on standard error, never taken for equal.\n"
            "reports names its files as the Reports section of Tabulon.ini in the working\n"
            "directory does (RepArt.dat, RepOtd.dat, ... without one) and ends at the\n"
            "first record that fails ten times: a report missing a line would pass for\n"
            "a whole one.\n"
            "\n"
            "Exit status: 0 done, 1 a record, the register or the port failed (the records\n"
            "and errors on standard error), 2 the command line or an input file is wrong.\n"
            "compare-table also ends with 1 when a row differs.\n")
            .arg(tableNames().join(QStringLiteral(", ")));
    return usage;
}

ParsedCliRequest parseCliRequest(const QStringList& arguments) {
    options::CommandLine line(kAllOptions, true);
    const QList<options::Mistake> mistakes = line.read(arguments);
    ParsedCliRequest parsed;
    // As the program always has: --version wherever the word stands; --help
    // once the options are read without a mistake.
    parsed.version = arguments.contains(QStringLiteral("--version"));
    const auto fail = [&parsed](const QString& error) {
        parsed.error = error;
        return parsed;
    };
    if (parsed.version) return parsed;
    if (!mistakes.isEmpty()) return fail(mistakes.first().text());

    CliRequest request;
    FleetOptions& fleet = parsed.fleet;
    const QStringList given = line.given();
    for (const QString& name : given) {
        if (line.isSet(u"fleet") && kPerRegister.contains(name)) {
            return fail(QStringLiteral("%1 does not go with --fleet: the fleet file gives each "
                                       "register's port, speed, number and model")
                            .arg(name));
        }
    }
    for (const QString& name : given) {
        for (const std::optional<QString>& written : line.occurrences(QStringView(name).mid(2))) {
            const QString value = written.value_or(QString());
            if (name == u"--help") {
                // Answered once every other option is read.
            } else if (name == u"--port") {
                if (!ports::comPortNumber(value) && !value.contains(u'/'))
                    return fail(QStringLiteral("--port takes COM1 to COM9 or a device path"));
                // Else it would be taken for a device path, and fail only when the
                // run opens it.
                if (link::isNetworkAddress(value) && !link::parseNetworkAddress(value)) {
                    return fail(
                        QStringLiteral("--port takes a serial server as tcp://HOST:PORT or "
                                       "rfc2217://HOST:PORT, the port 1 to 65535"));
                }
                request.port = value;
            } else if (name == u"--speed") {
                // Any other speed would only show up later as a port that does
                // not open, after the file had been read.
                const auto speed = options::number(value);
                if (!speed || !link::speedText(*speed))
                    return fail(QStringLiteral("--speed takes %1").arg(link::speedList(u" or ")));
                request.speed = *speed;
            } else if (name == u"--register") {
                const auto number = options::number(value);
                if (!number || *number < 1 || *number > link::kHighestRegister) {
                    return fail(QStringLiteral("--register takes a whole number from 1 to %1")
                                    .arg(link::kHighestRegister));
                }
                request.registerNumber = *number;
            } else if (name == u"--model") {
                const auto model = modelFromName(value);
                if (!model)
                    return fail(QStringLiteral("--model takes mp-550t, mp-50-junior or neon"));
                request.model = *model;
            } else if (name == u"--interval") {
                // The three fields go to the run's own check as typed, so that a
                // wrong one is refused in the window's words.
                const QStringList parts = value.split(u':');
                if (parts.size() != 3)
                    return fail(QStringLiteral("--interval takes START:END:FIRST"));
                request.interval = transfer::IntervalTexts{parts[0], parts[1], parts[2]};
            } else if (name == u"--on-failure") {
                if (value == u"abort") {
                    request.onFailure = FailurePolicy::Abort;
                } else if (value == u"skip") {
                    request.onFailure = FailurePolicy::Skip;
                } else {
                    return fail(QStringLiteral("--on-failure takes abort or skip"));
                }
            } else if (const auto flag = kSwitches.find(name); flag != kSwitches.end()) {
                request.*flag.value() = true;
            } else if (const auto kept = kKeptAsGiven.find(name); kept != kKeptAsGiven.end()) {
                request.*kept.value() = value;
            } else if (name == u"--only") {
                request.onlyReports = value.split(u',', Qt::SkipEmptyParts);
            } else if (name == u"--only-changed" || name == u"--trace") {
                if (value.isEmpty()) return fail(QStringLiteral("%1 needs a file name").arg(name));
                (name == u"--trace" ? request.trace : request.onlyChanged) = value;
            } else if (value.isEmpty()) {
                return fail(QStringLiteral("%1 needs a value").arg(name));
            } else if (name == u"--jobs") {
                const auto jobs = options::number(value);
                if (!jobs || *jobs < 1)
                    return fail(QStringLiteral("--jobs takes a whole number from 1 up"));
                fleet.jobs = *jobs;
            } else {
                (name == u"--fleet"    ? fleet.file
                 : name == u"--report" ? fleet.report
                                       : fleet.onlyFailed) = value;
            }
        }
    }
    if (fleet.file.isEmpty() &&
        (fleet.jobs || !fleet.report.isEmpty() || !fleet.onlyFailed.isEmpty()))
        return fail(QStringLiteral("--jobs, --report and --only-failed go with --fleet FILE"));
    if (line.isSet(u"help")) {
        parsed.help = true;
        return parsed;
    }

    QStringList words = line.words();
    if (words.isEmpty()) return fail(QStringLiteral("no command"));
    const QString name = words.takeFirst();
    const CliCommand* command = findCliCommand(name);
    if (!command) return fail(QStringLiteral("unknown command %1").arg(name));
    if (words.size() != command->arguments)
        return fail(QStringLiteral("%1 takes %2 argument(s)").arg(name).arg(command->arguments));
    request.given = QSet<QString>(given.begin(), given.end());
    for (CliOption option : kCommandOptions) {
        if (request.given.contains(optionName(option)) && !(command->options & option))
            return fail(QStringLiteral("%1 does not go with %2").arg(optionName(option), name));
    }
    request.command = command;
    request.arguments = words;
    parsed.request = request;
    return parsed;
}

}  // namespace tabulon::cli
