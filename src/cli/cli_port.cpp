#include "cli/cli_port.h"

#include <cstdio>

#include "link/line_port.h"
#include "link/register_link.h"
#include "link/tracing_port.h"
#include "ports/com_names.h"
#include "ports/port_problem.h"
#include "ports/port_resolver.h"

namespace tabulon::cli {

QString causeWords(link::Operation operation, link::ResultCause cause, int result) {
    using link::Operation;
    // A write run reads its records back: either exchange may have failed.
    const bool exchange = operation == Operation::ReadRecord || operation == Operation::WriteRecord;
    for (Operation asked : {operation, Operation::WriteRecord, Operation::ReadRecord}) {
        if (cause == link::ResultCause::Done || (asked != operation && !exchange)) break;
        if (link::resultRow(asked, cause)) return link::englishText(asked, cause);
    }
    return link::resultMeaning(operation, result);
}

QString linkError(const link::RegisterLink& link, link::Operation operation, int result,
                  const QString& detail) {
    QString line = causeWords(operation, link.lastCause(), result);
    if (!detail.isEmpty() && detail != line) line += QStringLiteral(" (%1)").arg(detail);
    return line;
}

int cliPortNumber(const CliRequest& request) {
    return ports::comPortNumber(request.port).value_or(1);
}

std::unique_ptr<link::RegisterLink> makeCliLink(const CliRequest& request, QString& error) {
    link::RegisterLink::Parts parts;
    parts.port = link::makeLinePort();
    // Said once: the run goes on without the rest of its trace.
    const auto cut = [path = request.trace](const QString& why) {
        std::fputs(
            qPrintable(
                QStringLiteral("tabulon-cli: --trace %1: cut short here: %2\n").arg(path, why)),
            stderr);
    };
    if (!request.trace.isEmpty() && !link::traceInto(parts, request.trace, error, cut))
        return nullptr;
    parts.deviceFor = ports::portResolver(request.port);
    return std::make_unique<link::RegisterLink>(std::move(parts));
}

std::optional<CliResult> openPort(const CliContext& context) {
    const int opened = context.link.OpenPort(context.portNumber, context.request.speed);
    if (opened >= 0) return std::nullopt;
    if (context.link.lastCause() == link::ResultCause::DeviceDidNotOpen) {
        // The device did not open: say which device and what to do about it.
        return failure(ports::portFailureTextEnglish(ports::linkOpenFailure(
            context.link, ports::comPortNumber(context.request.port).value_or(0))));
    }
    return failure(
        linkError(context.link, link::Operation::OpenPort, opened, context.link.openErrorText()));
}

std::optional<CliResult> closePort(const CliContext& context) {
    const int closed = context.link.ClosePort(context.portNumber);
    // A port lost in the run (its serial server gone) leaves nothing to
    // close; the records it cost have said so already.
    if (closed >= 0 || context.link.lastCause() == link::ResultCause::NotTheOpenPort)
        return std::nullopt;
    return failure(linkError(context.link, link::Operation::ClosePort, closed));
}

}  // namespace tabulon::cli
