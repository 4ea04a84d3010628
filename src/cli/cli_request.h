#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

#include "catalogue/model.h"
#include "transfer/run_plan.h"

namespace tabulon::cli {

struct CliCommand;

// What to do after a record failed its ten attempts, in place of the
// window's question.
enum class FailurePolicy {
    Abort,  // the command stops there ("Завершить операцию")
    Skip,   // the port is closed and reopened, the run goes on ("Пропустить")
};

// One run of tabulon-cli: where the register is, how to treat it, and the
// one command with its arguments.
struct CliRequest {
    QString port = QStringLiteral("COM1");  // COM1..COM9 or a device path
    int speed = 4800;
    int registerNumber = 1;
    Model model = Model::DatecsMp550T;
    std::optional<transfer::IntervalTexts> interval;
    FailurePolicy onFailure = FailurePolicy::Abort;
    bool verify = false;
    QString onlyChanged;  // OLD_FILE; empty: every row
    QString trace;        // FILE the exchange is traced into; empty: none
    bool quiet = false;   // no progress line even on a terminal
    // Only the rows the register holds otherwise, found by reading it first.
    bool onlyDiffering = false;
    // scan: the ports, speeds and register numbers to try, as given (all
    // mapped ports, every speed and 1-5 when empty), and whether to go on
    // after a find.
    QString scanPorts;
    QString scanSpeeds;
    QString scanRegisters;
    bool scanAll = false;
    // reports: where the files go, the field separator, the reports to read
    // by short name (all when empty).
    QString reportDirectory;
    QString separator = QStringLiteral(";");
    QStringList onlyReports;
    // import and write-table of a spreadsheet file: the choices that
    // replace the guesses, as given; export: "." in numbers.
    QString columns;
    QString delimiter;
    QString encoding;
    QString rows;
    bool decimalPoint = false;

    const CliCommand* command = nullptr;
    QStringList arguments;  // the words after the command
    QSet<QString> given;    // the options named on the command line ("--verify")
};

// --fleet FILE and the options that go with it.
struct FleetOptions {
    QString file;        // empty: one register, where the options say
    int jobs = 0;        // lines worked at once; 0: all
    QString report;      // CSV of the outcomes; empty: none
    QString onlyFailed;  // REPORT: only the registers it lists as not done
};

struct ParsedCliRequest {
    std::optional<CliRequest> request;  // nullopt: `error` says what is wrong
    QString error;
    // --version wherever the word stands; --help when the options have no mistake.
    bool help = false;
    bool version = false;
    FleetOptions fleet;
};

// The arguments after the program name. Options may stand anywhere; the
// first other word is the command.
ParsedCliRequest parseCliRequest(const QStringList& arguments);
QString cliUsage();

}  // namespace tabulon::cli
