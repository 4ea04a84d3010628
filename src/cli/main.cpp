#include <QCoreApplication>
#include <cstdio>

#include "cli/cli_request.h"
#include "cli/cli_run.h"
#include "link/serial_link.h"
#include "settings/port_map.h"

using namespace tabulon;

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const cli::ParsedCliRequest parsed = cli::parseCliRequest(arguments);
    if (!parsed.request) {
        print(stderr, QStringLiteral("tabulon-cli: %1\n\n%2").arg(parsed.error, cli::cliUsage()));
        return 2;
    }
    const cli::CliRequest& request = *parsed.request;
    if (request.help) {
        print(stdout, cli::cliUsage());
        return 0;
    }

    // COMn goes through the settings file as in the window; a device path is
    // opened as the one port the command uses.
    const std::optional<int> com = cli::comPortNumber(request.port);
    const QString device = request.port;
    auto link = link::makeSerialLink([&](int port) {
        return com ? settings::portDevice(QStringLiteral("Tabulon.ini"), port) : device;
    });

    const cli::CliResult result = cli::runCliRequest(request, *link, com.value_or(1));
    print(stdout, result.output);
    if (!result.error.isEmpty()) print(stderr, result.error + u'\n');
    return result.status;
}
