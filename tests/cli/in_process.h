#pragma once

#include <QStringList>

#include "cli/cli_commands.h"
#include "sim/simulated_link.h"
#include "transfer/run_parts.h"

// tabulon-cli's commands run inside the test against a simulated register in
// virtual time: the register can be made to do what a program run cannot
// (a signal at a chosen command, a reply of the test's making).

namespace tabulon::cli::testing {

// Standard error as a list of the messages told.
class NotedConsole : public CliConsole {
public:
    QStringList messages;
    bool showsProgress() const override { return false; }
    void progress(const QString&) override {}
    void message(const QString& line) override { messages << line; }
    void endProgress() override {}
};

struct InProcessRun {
    CliResult result;
    QStringList messages;  // told on standard error while it ran
    RunTally tally;        // as a fleet report counts it
};

// The command line (without program name and port) on port 1, the
// simulated register's.
inline InProcessRun runInProcess(sim::SimulatedLink& sim, const QStringList& arguments) {
    const ParsedCliRequest parsed = parseCliRequest(arguments);
    if (!parsed.request) return {usageError(parsed.error), {}, {}};
    NotedConsole console;
    transfer::RunControl control;
    RunTally tally;
    const CliContext context{*parsed.request, *sim.link, 1, console, control, &tally};
    CliResult result = parsed.request->command->run(context);
    return {result, console.messages, tally};
}

}  // namespace tabulon::cli::testing
