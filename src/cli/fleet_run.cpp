#include "cli/fleet_run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_port.h"
#include "cli/command_files.h"
#include "cli/fleet_board.h"
#include "cli/fleet_grid_files.h"
#include "cli/fleet_request.h"
#include "cli/print.h"
#include "cli/stop_signals.h"
#include "disk/safe_save.h"
#include "fleet/fleet_limits.h"
#include "fleet/fleet_plan.h"
#include "fleet/fleet_report.h"
#include "link/register_link.h"
#include "options/command_line.h"
#include "transfer/run_parts.h"

namespace tabulon::cli {

namespace {

using fleet::FleetRegister;
using fleet::Outcome;
using fleet::RegisterOutcome;

int mistake(const QString& error) {
    print(stderr, QStringLiteral("tabulon-cli: %1\n").arg(error));
    return kExitUsage;
}

// The registers of the file, less those a report says are done.
std::optional<QList<FleetRegister>> chosenRegisters(const FleetRequest& request, QString& error) {
    const fleet::ParsedFleet parsed = fleet::readFleetFile(request.file);
    if (!parsed.error.isEmpty()) {
        error = parsed.error;
        return std::nullopt;
    }
    for (const FleetRegister& entry : parsed.registers) {
        if (const std::optional<QString> problem = portProblem(entry.port)) {
            error = QStringLiteral("%1: line %2: port %3: %4")
                        .arg(request.file)
                        .arg(entry.line)
                        .arg(entry.port, *problem);
            return std::nullopt;
        }
    }
    if (const QString twice = fleet::sameRegisterTwice(parsed.registers, lineOfPort);
        !twice.isEmpty()) {
        error = QStringLiteral("%1: %2").arg(request.file, twice);
        return std::nullopt;
    }
    if (request.onlyFailed.isEmpty()) return parsed.registers;

    const fleet::ReadReport report = fleet::readFleetReport(request.onlyFailed);
    if (!report.error.isEmpty()) {
        error = QStringLiteral("--only-failed %1").arg(report.error);
        return std::nullopt;
    }
    const QStringList names = fleet::unfinishedNames(report.outcomes);
    QList<FleetRegister> chosen;
    // Names as the fleet file compares them: without letter case.
    const auto named = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    for (const QString& name : names) {
        const auto entry =
            std::find_if(parsed.registers.begin(), parsed.registers.end(),
                         [&](const FleetRegister& r) { return named(r.name, name); });
        if (entry == parsed.registers.end()) {
            error = QStringLiteral("--only-failed %1: register %2 is not in %3")
                        .arg(request.onlyFailed, name, request.file);
            return std::nullopt;
        }
    }
    for (const FleetRegister& entry : parsed.registers) {
        if (names.contains(entry.name, Qt::CaseInsensitive)) chosen << entry;
    }
    return chosen;
}

// No register's output is a file the run reads (the fleet file, a table
// file, the report of --only-failed) or another output: each register's
// file names as {name} makes them.
std::optional<QString> outputOverInput(const FleetRequest& request,
                                       const QList<FleetRegister>& registers) {
    QList<CommandFile> inputs{{QStringLiteral("the fleet file"), request.file}};
    if (!request.onlyFailed.isEmpty())
        inputs << CommandFile{QStringLiteral("the report of --only-failed"), request.onlyFailed};
    QList<CommandFile> outputs;
    if (!request.report.isEmpty())
        outputs << CommandFile{QStringLiteral("--report"), request.report};
    // The command as given first: a clash of every register is told once,
    // without one register's name.
    if (const auto clash = cli::outputOverInput(outputs + commandOutputs(request.command),
                                                inputs + commandInputs(request.command)))
        return clash;
    for (const FleetRegister& entry : registers) {
        const CliRequest one = registerRequest(request.command, entry);
        if (const auto clash =
                cli::outputOverInput(outputs + commandOutputs(one), inputs + commandInputs(one)))
            return QStringLiteral("%1: %2").arg(entry.name, *clash);
    }
    return std::nullopt;
}

// The report file can be written: found before anything is sent.
std::optional<QString> reportProblem(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    disk::SafeSave file(path);
    if (file.open()) return std::nullopt;
    return QStringLiteral("--report %1: cannot create: %2").arg(path, file.errorString());
}

// The folders a register's files go into, made for it: backup/{name}.art
// needs no folder made by hand for each register.
void makeFolders(const CliRequest& request) {
    const QString command = request.command->name.toString();
    if (!request.reportDirectory.isEmpty()) QDir().mkpath(request.reportDirectory);
    if (command == u"read-table" || command == u"read-logo")
        QDir().mkpath(QFileInfo(request.arguments.last()).absolutePath());
    if (!request.trace.isEmpty()) QDir().mkpath(QFileInfo(request.trace).absolutePath());
}

// The first line of a command's error text.
QString firstLine(const QString& text) {
    return text.section(u'\n', 0, 0);
}

class FleetRun {
public:
    FleetRun(const FleetRequest& request, QList<FleetRegister> registers)
        : request_(request),
          registers_(std::move(registers)),
          outcomes_(size_t(registers_.size())),
          board_(stderr, !request.command.quiet && isTerminal(stderr), int(registers_.size())),
          gridFiles_(readers(request, registers_)) {
        for (qsizetype i = 0; i < registers_.size(); ++i)
            outcomes_[size_t(i)].name = registers_[i].name;
    }

    QList<RegisterOutcome> run() {
        const QList<fleet::PortGroup> groups = fleet::planFleet(registers_, lineOfPort);
        // Alive for the whole run: a signal between two registers of a line
        // keeps the next from starting.
        const StopOnSignals stop(stopAll_);
        fleet::runAtMost(int(groups.size()), request_.jobs, [&](int group) {
            for (int index : groups[group].registers) runRegister(index);
        });
        board_.clear();
        return QList<RegisterOutcome>(outcomes_.begin(), outcomes_.end());
    }

private:
    // How often the registers' commands read each file.
    static QHash<QString, int> readers(const FleetRequest& request,
                                       const QList<FleetRegister>& registers) {
        QHash<QString, int> counted;
        for (const FleetRegister& entry : registers) {
            for (const CommandFile& input : commandInputs(registerRequest(request.command, entry)))
                ++counted[QFileInfo(input.path).absoluteFilePath()];
        }
        return counted;
    }

    void runRegister(int index) {
        const FleetRegister& entry = registers_[index];
        RegisterOutcome& outcome = outcomes_[size_t(index)];
        board_.started(entry.name);
        runRegister(entry, outcome);
        board_.ended(entry.name, outcome.outcome != Outcome::Done);
    }

    void runRegister(const FleetRegister& entry, RegisterOutcome& outcome) {
        transfer::RunControl control;
        // Listed for the signals before the fleet's stop is looked at: a
        // signal in between reaches it either way.
        const StopOnSignals stop(control);
        if (stopAll_.stopRequested) {
            outcome.outcome = Outcome::NotRun;
            outcome.reason = QStringLiteral("stopped by a signal before its turn");
            return;
        }
        const CliRequest request = registerRequest(request_.command, entry);
        makeFolders(request);
        QString error;
        const std::unique_ptr<link::RegisterLink> link = makeCliLink(request, error);
        if (!link) {
            outcome.outcome = Outcome::Refused;
            outcome.reason = QStringLiteral("--trace %1: %2").arg(request.trace, error);
            board_.message(entry.name, outcome.reason);
            return;
        }
        FleetConsole console(board_, entry.name);
        RunTally tally;
        const CliContext context{request, *link,      cliPortNumber(request), console, control,
                                 &tally,  &gridFiles_};
        QElapsedTimer clock;
        clock.start();
        const CliResult result = request.command->run(context);
        outcome.milliseconds = clock.elapsed();
        console.endProgress();

        for (const QString& line : (result.output + result.error).split(u'\n', Qt::SkipEmptyParts))
            board_.message(entry.name, line);
        if (tally.counted) {
            outcome.done = tally.done;
            outcome.failed = tally.failed;
            outcome.skipped = tally.skipped;
        }
        // A comparison that read every row did its work, whatever it found.
        outcome.differ = tally.differing;
        if (tally.differing) {
            outcome.outcome = Outcome::Done;
            return;
        }
        switch (result.status) {
            case kExitDone:
                outcome.outcome = Outcome::Done;
                return;
            case kExitUsage:
                outcome.outcome = Outcome::Refused;
                break;
            default:
                outcome.outcome = stop.caught() ? Outcome::Stopped : Outcome::Failed;
                break;
        }
        outcome.reason =
            tally.firstFailure.isEmpty() ? firstLine(result.error) : tally.firstFailure;
    }

    const FleetRequest& request_;
    const QList<FleetRegister> registers_;
    // Each written by its register's thread only: a vector, which no thread
    // detaches from under another as an implicitly shared list could.
    std::vector<RegisterOutcome> outcomes_;
    FleetBoard board_;
    FleetGridFiles gridFiles_;
    transfer::RunControl stopAll_;
};

int exitStatus(const QList<RegisterOutcome>& outcomes) {
    const auto all = [&](Outcome which) {
        return std::all_of(outcomes.begin(), outcomes.end(),
                           [&](const RegisterOutcome& o) { return o.outcome == which; });
    };
    // As for one register: a comparison that found rows that differ ends
    // with 1, though each register is done.
    const bool differ = std::any_of(outcomes.begin(), outcomes.end(), [](const RegisterOutcome& o) {
        return o.differ.value_or(0) > 0;
    });
    if (all(Outcome::Done)) return differ ? kExitFailed : kExitDone;
    // Every register refused it before anything went out: the command or a
    // file it names is wrong.
    if (all(Outcome::Refused)) return kExitUsage;
    return kExitFailed;
}

}  // namespace

int runFleetCli(const QStringList& arguments) {
    const ParsedFleetRequest parsed = parseFleetRequest(arguments);
    if (!parsed.request) {
        print(stderr, options::usageMistake(u"tabulon-cli", parsed.error));
        return kExitUsage;
    }
    const FleetRequest& request = *parsed.request;
    QString error;
    const std::optional<QList<FleetRegister>> registers = chosenRegisters(request, error);
    if (!registers) return mistake(error);
    if (const std::optional<QString> clash = outputOverInput(request, *registers))
        return mistake(*clash);
    if (const std::optional<QString> problem = reportProblem(request.report))
        return mistake(*problem);
    if (registers->isEmpty()) {
        print(stdout, QStringLiteral("every register in %1 is done; nothing to run\n")
                          .arg(request.onlyFailed));
        return kExitDone;
    }

    const int lines = int(fleet::planFleet(*registers, lineOfPort).size());
    const int atOnce = request.jobs > 0 ? std::min(request.jobs, lines) : lines;
    if (const std::optional<QString> shortage = fleet::descriptorShortage(atOnce))
        return mistake(*shortage);

    // Held until the table and the report are out: a Ctrl-C just after the
    // last register ended must not take them with it.
    transfer::RunControl nothingLeftToStop;
    const StopOnSignals untilTheTableIsOut(nothingLeftToStop);
    FleetRun run(request, *registers);
    const QList<RegisterOutcome> outcomes = run.run();
    const bool comparing = request.command.command->name == u"compare-table";
    print(stdout, fleet::fleetTable(outcomes, comparing));
    int status = exitStatus(outcomes);
    if (!request.report.isEmpty()) {
        if (const std::optional<QString> failed =
                fleet::writeFleetReport(request.report, outcomes, comparing)) {
            print(stderr, *failed + u'\n');
            status = std::max(status, kExitFailed);
        }
    }
    return status;
}

}  // namespace tabulon::cli
