#include <QCoreApplication>
#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/cli_port.h"
#include "cli/cli_request.h"
#include "cli/command_files.h"
#include "cli/fleet_request.h"
#include "cli/fleet_run.h"
#include "cli/print.h"
#include "link/register_link.h"
#include "options/command_line.h"
#include "transfer/run_parts.h"

using namespace tabulon;

using cli::print;

namespace {

// Standard error: a progress line on a terminal, redrawn in place with a
// carriage return and cleared to the end of the line.
class StandardError : public cli::CliConsole {
public:
    explicit StandardError(bool quiet) : progress_(!quiet && cli::isTerminal(stderr)) {}

    bool showsProgress() const override { return progress_; }
    void progress(const QString& line) override {
        print(stderr, u'\r' + line + QStringLiteral("\x1b[K"));
        shown_ = true;
    }
    void message(const QString& line) override {
        endProgress();
        print(stderr, line + u'\n');
    }
    void endProgress() override {
        if (shown_) print(stderr, QStringLiteral("\r\x1b[K"));
        shown_ = false;
    }

private:
    bool progress_;
    bool shown_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const cli::ParsedCliRequest parsed = cli::parseCliRequest(arguments);
    if (parsed.version) {
        print(stdout, QStringLiteral("tabulon-cli %1\n").arg(QStringLiteral(TABULON_VERSION)));
        return cli::kExitDone;
    }
    if (parsed.help) {
        print(stdout, cli::cliUsage());
        return cli::kExitDone;
    }
    if (!parsed.request) {
        print(stderr, options::usageMistake(u"tabulon-cli", parsed.error));
        return cli::kExitUsage;
    }
    if (!parsed.fleet.file.isEmpty()) return cli::runFleetCli(arguments);
    const cli::CliRequest& request = *parsed.request;

    // Before the trace file is opened: it may be the table file itself.
    if (const auto clash =
            cli::outputOverInput(cli::commandOutputs(request), cli::commandInputs(request))) {
        print(stderr, QStringLiteral("tabulon-cli: %1\n").arg(*clash));
        return cli::kExitUsage;
    }
    QString error;
    const std::unique_ptr<link::RegisterLink> link = cli::makeCliLink(request, error);
    if (!link) {
        print(stderr, QStringLiteral("tabulon-cli: --trace %1: %2\n").arg(request.trace, error));
        return cli::kExitUsage;
    }
    StandardError console(request.quiet);
    transfer::RunControl control;
    const cli::CliContext context{request, *link, cli::cliPortNumber(request), console, control};
    const cli::CliResult result = request.command->run(context);

    print(stdout, result.output);
    if (!result.error.isEmpty()) {
        if (result.showUsage) {
            print(stderr, options::usageMistake(u"tabulon-cli", result.error));
        } else {
            print(stderr, result.error + u'\n');
        }
    }
    return result.status;
}
