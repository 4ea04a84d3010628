#include "cli/cli_port.h"

#include "link/line_port.h"
#include "link/register_link.h"
#include "link/tracing_port.h"
#include "settings/port_map.h"
#include "settings/port_problem.h"
#include "settings/settings_file.h"

namespace tabulon::cli {

QString linkError(link::Operation operation, int result, const QString& detail) {
    const QString meaning = link::resultMeaning(operation, result);
    QString line = QStringLiteral("error %1: %2").arg(result).arg(meaning);
    if (!detail.isEmpty() && detail != meaning) line += QStringLiteral(" (%1)").arg(detail);
    return line;
}

int cliPortNumber(const CliRequest& request) {
    return comPortNumber(request.port).value_or(1);
}

std::unique_ptr<link::RegisterLink> makeCliLink(const CliRequest& request, QString& error) {
    link::RegisterLink::Parts parts;
    parts.port = link::makeLinePort();
    if (!request.trace.isEmpty() && !link::traceInto(parts, request.trace, error)) return nullptr;
    const bool com = comPortNumber(request.port).has_value();
    parts.deviceFor = [com, device = request.port](int port) {
        return com ? settings::portDevice(settings::workingSettingsFile(), port) : device;
    };
    return std::make_unique<link::RegisterLink>(std::move(parts));
}

std::optional<CliResult> openPort(const CliContext& context) {
    const int opened = context.link.OpenPort(context.portNumber, context.request.speed);
    if (opened >= 0) return std::nullopt;
    if (context.link.lastCause() == link::ResultCause::DeviceDidNotOpen) {
        // The device did not open: say which device and what to do about it.
        const settings::PortFailure why = settings::describePortFailure(
            settings::workingSettingsFile(), comPortNumber(context.request.port).value_or(0),
            context.link.openDevice(), context.link.openErrorText());
        return failure(QStringLiteral("error %1: ").arg(opened) +
                       settings::portFailureTextEnglish(why));
    }
    return failure(linkError(link::Operation::OpenPort, opened, context.link.openErrorText()));
}

std::optional<CliResult> closePort(const CliContext& context) {
    const int closed = context.link.ClosePort(context.portNumber);
    if (closed >= 0) return std::nullopt;
    return failure(linkError(link::Operation::ClosePort, closed));
}

}  // namespace tabulon::cli
