#include <QStringList>
#include <cstdio>

#include "options/command_line.h"
#include "sim/line_server.h"
#include "sim/sim_options.h"
#include "sim/simulated_bus.h"

using namespace tabulon::sim;

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const ParsedSimOptions parsed = parseSimOptions(arguments);
    if (!parsed.options) {
        std::fputs(qPrintable(tabulon::options::usageMistake(u"tabulon-sim", parsed.error)),
                   stderr);
        return 2;
    }
    const SimOptions& options = *parsed.options;
    if (options.version) {
        std::printf("tabulon-sim %s\n", TABULON_VERSION);
        return 0;
    }
    if (options.help) {
        std::fputs(qPrintable(simUsage()), stdout);
        return 0;
    }

    // One register, or a bus of them, telling what they do into the journal.
    QStringList journal;
    const QList<int> numbers = options.bus.isEmpty() ? QList<int>{0} : options.bus;
    SimulatedBus bus(options.model, numbers);
    for (int index = 0; index < bus.size(); ++index) {
        bus.at(index).faults() = options.faults;
        if (options.bus.isEmpty()) bus.at(index).answerOnlyTo(options.onlyRegister);
        if (options.log) bus.at(index).setJournal(&journal);
    }

    QString error;
    const std::unique_ptr<LineServer> server =
        options.device.isEmpty() ? LineServer::openPseudoTerminal(error)
                                 : LineServer::openDevice(options.device, options.speed, error);
    if (!server) {
        std::fprintf(stderr, "tabulon-sim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(server->path()));
    std::fflush(stdout);
    if (options.log && !options.bus.isEmpty()) {
        QStringList listed;
        for (int number : options.bus) listed << QString::number(number);
        std::fprintf(stderr, "%s registers %s\n", qPrintable(modelName(options.model)),
                     qPrintable(listed.join(u',')));
    } else if (options.log) {
        std::fprintf(stderr, "%s register%s\n", qPrintable(modelName(options.model)),
                     options.onlyRegister
                         ? qPrintable(QStringLiteral(" %1").arg(*options.onlyRegister))
                         : " (any number)");
    }
    return server->serve(bus, journal, options, options.log ? stderr : nullptr);
}
