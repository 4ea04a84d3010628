#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

#include "cli/cli_request.h"

namespace tabulon::link {
class RegisterLink;
}
namespace tabulon::transfer {
struct RunControl;
}

namespace tabulon::cli {

// Exit statuses of tabulon-cli.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // a record, the register or the port failed
inline constexpr int kExitUsage = 2;   // the command line or an input file is wrong

struct CliResult {
    int status = kExitDone;
    QString output;          // for standard output
    QString error;           // for standard error; lines end with "\n" where there are several
    bool showUsage = false;  // a command line mistake: "(see --help)" follows the error
};

// "1 record", "20 records": a count with its noun (one that takes "s").
QString counted(qsizetype count, QStringView noun);

CliResult usageError(const QString& error);
CliResult inputError(const QString& error);
CliResult failure(const QString& error);

// Standard error while a command runs: messages as they come, and on a
// terminal a progress line redrawn in place.
class CliConsole {
public:
    virtual ~CliConsole() = default;
    // Standard error is a terminal and --quiet was not given.
    virtual bool showsProgress() const = 0;
    // Replaces the progress line (only called when showsProgress()).
    virtual void progress(const QString& line) = 0;
    // One line of its own, below any progress line.
    virtual void message(const QString& line) = 0;
    // Takes the progress line away.
    virtual void endProgress() = 0;
    // The records dealt with so far of the run's total, whether or not
    // progress is shown: what a fleet reckons its time left from.
    virtual void records(int dealtWith, int total) {
        (void)dealtWith;
        (void)total;
    }
};

class FleetGridFiles;

// What a command's run did with its records, for callers that count them
// over many registers. Commands that move no records leave it as it is.
struct RunTally {
    bool counted = false;  // the command moved records and counted them here
    int done = 0;
    int failed = 0;        // tried and not done (or done and found wrong)
    int skipped = 0;       // never tried: the run ended before them
    QString firstFailure;  // why the first failed record failed
    // A comparison that read every row: how many of them differ. A register
    // that holds other prices is no failed one.
    std::optional<int> differing = std::nullopt;
};

// What a command works with. The link is built with the request's port and
// trace, and is not open yet: each command opens it once it has checked
// everything that needs no register.
struct CliContext {
    const CliRequest& request;
    link::RegisterLink& link;
    int portNumber;  // what OpenPort is given: COMn, or 1 for a device path
    CliConsole& console;
    // A signal asks the run in hand to stop between two records.
    transfer::RunControl& control;
    // Where the command counts its records; null: nobody asks.
    RunTally* tally = nullptr;
    // The table files it shares with other registers; null: its own.
    FleetGridFiles* gridFiles = nullptr;
};

// Options that only some commands take; --port, --speed, --register,
// --trace and --quiet go with every command.
enum CliOption : unsigned {
    kModelOption = 1u << 0,
    kIntervalOption = 1u << 1,
    kOnFailureOption = 1u << 2,
    kVerifyOption = 1u << 3,
    kOnlyChangedOption = 1u << 4,
    kOnlyDifferingOption = 1u << 12,
    // scan
    kPortsOption = 1u << 8,
    kSpeedsOption = 1u << 9,
    kRegistersOption = 1u << 10,
    kAllOption = 1u << 11,
    kDirOption = 1u << 5,
    kSeparatorOption = 1u << 6,
    kOnlyOption = 1u << 7,
    // import, and write-table of a spreadsheet file
    kColumnsOption = 1u << 13,
    kDelimiterOption = 1u << 14,
    kEncodingOption = 1u << 15,
    kRowsOption = 1u << 16,
    // export
    kDecimalPointOption = 1u << 17,
};

// The option word of one CliOption ("--verify").
QString optionName(CliOption option);

struct CliCommand {
    QStringView name;      // "write-table"
    QStringView synopsis;  // its arguments, "TABLE FILE"
    QStringView summary;   // what it does, for the usage text
    qsizetype arguments;   // how many words follow it
    unsigned options;      // CliOption bits it takes
    CliResult (*run)(const CliContext& context);
};

// Every command tabulon-cli knows, in the order of the usage text.
const QList<CliCommand>& cliCommands();
const CliCommand* findCliCommand(QStringView name);

}  // namespace tabulon::cli
