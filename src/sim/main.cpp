#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <memory>
#include <vector>

#include "link/network_address.h"
#include "options/command_line.h"
#include "sim/network_line.h"
#include "sim/sim_options.h"
#include "sim/simulated_bus.h"

#ifndef _WIN32
#include <sys/resource.h>

#include "sim/line_server.h"
#endif

using namespace tabulon::sim;

namespace {

// Says on the log which registers answer, once they are up.
void logRegisters(const SimOptions& options) {
    if (!options.bus.isEmpty()) {
        QStringList listed;
        for (int number : options.bus) listed << QString::number(number);
        std::fprintf(stderr, "%s registers %s\n", qPrintable(modelName(options.model)),
                     qPrintable(listed.join(u',')));
    } else {
        std::fprintf(stderr, "%s register%s\n", qPrintable(modelName(options.model)),
                     options.onlyRegister
                         ? qPrintable(QStringLiteral(" %1").arg(*options.onlyRegister))
                         : " (any number)");
    }
}

// Each line takes a descriptor to listen and one for its client: hundreds of
// lines want more than the 1024 a shell usually starts a program with.
void raiseDescriptorLimit() {
#ifndef _WIN32
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
#endif
}

// Each --listen line on the event loop, until killed.
int serveNetwork(int argc, char** argv, const SimOptions& options) {
    QCoreApplication application(argc, argv);
    raiseDescriptorLimit();
    std::FILE* log = options.log ? stderr : nullptr;
    std::vector<std::unique_ptr<NetworkLine>> lines;
    for (const tabulon::link::NetworkAddress& address : options.listen) {
        // With several lines each line of the log says whose it is.
        auto line = std::make_unique<NetworkLine>(address, options, log, options.listen.size() > 1);
        QString error;
        if (!line->listen(error)) {
            std::fprintf(stderr, "tabulon-sim: cannot listen on %s: %s\n",
                         qPrintable(tabulon::link::networkAddressText(address)), qPrintable(error));
            return 1;
        }
        lines.push_back(std::move(line));
    }
    for (const auto& line : lines)
        std::printf("%s\n", qPrintable(tabulon::link::networkAddressText(line->address())));
    std::fflush(stdout);
    if (options.log) logRegisters(options);
    return application.exec();
}

// A pseudo-terminal, or the device asked for, until the line fails.
int serveLine(const SimOptions& options) {
#ifdef _WIN32
    (void)options;
    std::fputs(
        "tabulon-sim: on Windows the simulated register serves only a network port: "
        "give --listen tcp://HOST:PORT or rfc2217://HOST:PORT\n",
        stderr);
    return 2;
#else
    // One register, or a bus of them, telling what they do into the journal.
    QStringList journal;
    const std::unique_ptr<SimulatedBus> bus =
        busFromOptions(options, options.log ? &journal : nullptr);
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
    if (options.log) logRegisters(options);
    return server->serve(*bus, journal, options, options.log ? stderr : nullptr);
#endif
}

}  // namespace

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
    return options.listen.isEmpty() ? serveLine(options) : serveNetwork(argc, argv, options);
}
