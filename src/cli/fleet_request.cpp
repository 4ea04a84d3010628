#include "cli/fleet_request.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <algorithm>

#include "cli/cli_commands.h"
#include "link/network_address.h"
#include "ports/com_names.h"
#include "ports/port_resolver.h"

namespace tabulon::cli {

namespace {

const QString kName = QStringLiteral("{name}");

const QStringList kFleetCommands{QStringLiteral("detect"),     QStringLiteral("write-table"),
                                 QStringLiteral("read-table"), QStringLiteral("clear-table"),
                                 QStringLiteral("write-logo"), QStringLiteral("read-logo"),
                                 QStringLiteral("reports"),    QStringLiteral("compare-table")};

// What the command writes for each register: one name would be written over
// by every register in turn. `what` names it for the message.
std::optional<QString> sharedOutput(const CliRequest& command) {
    const QString name = command.command->name.toString();
    const auto check = [&](const QString& path, const QString& what) -> std::optional<QString> {
        if (path.contains(kName)) return std::nullopt;
        return QStringLiteral("%1 %2 would be the same file for every register: put {name} in it")
            .arg(what, path);
    };
    if (name == u"read-table") return check(command.arguments[1], name);
    if (name == u"read-logo") return check(command.arguments[0], name);
    if (name == u"reports" && !command.reportDirectory.isEmpty())
        return check(command.reportDirectory, QStringLiteral("reports --dir"));
    if (!command.trace.isEmpty()) return check(command.trace, QStringLiteral("--trace"));
    return std::nullopt;
}

// One server under two spellings (localhost and 127.0.0.1) is one line: by
// the address its name stands for, an IPv4 one before IPv6 ones; a name that
// does not resolve stays as written.
QString serverLine(const link::NetworkAddress& server) {
    QList<QHostAddress> found = QHostInfo::fromName(server.host).addresses();
    std::sort(found.begin(), found.end(), [](const QHostAddress& a, const QHostAddress& b) {
        const bool aFirst = a.protocol() == QAbstractSocket::IPv4Protocol;
        const bool bFirst = b.protocol() == QAbstractSocket::IPv4Protocol;
        return aFirst != bFirst ? aFirst : a.toString() < b.toString();
    });
    QString host = found.isEmpty() ? server.host.toLower() : found.front().toString();
    if (host.contains(u':')) host = u'[' + host + u']';
    const QString scheme = server.kind == link::NetworkAddress::Kind::Rfc2217
                               ? QStringLiteral("rfc2217")
                               : QStringLiteral("tcp");
    return QStringLiteral("%1://%2:%3").arg(scheme, host).arg(server.port);
}

}  // namespace

ParsedFleetRequest parseFleetRequest(const QStringList& arguments) {
    const auto fail = [](const QString& error) { return ParsedFleetRequest{std::nullopt, error}; };
    const ParsedCliRequest parsed = parseCliRequest(arguments);
    if (!parsed.request) return fail(parsed.error);
    if (parsed.fleet.file.isEmpty())
        return fail(QStringLiteral("--jobs, --report and --only-failed go with --fleet FILE"));
    const FleetRequest request{parsed.fleet, *parsed.request};
    if (!kFleetCommands.contains(request.command.command->name.toString())) {
        return fail(
            QStringLiteral("--fleet goes with %1").arg(kFleetCommands.join(QStringLiteral(", "))));
    }
    if (std::optional<QString> shared = sharedOutput(request.command)) return fail(*shared);
    return ParsedFleetRequest{request, QString()};
}

QString withName(const QString& text, const QString& name) {
    QString expanded = text;
    return expanded.replace(kName, name);
}

CliRequest registerRequest(const CliRequest& command, const fleet::FleetRegister& entry) {
    CliRequest request = command;
    request.port = entry.port;
    request.speed = entry.speed;
    request.registerNumber = entry.number;
    request.model = entry.model;
    for (QString& argument : request.arguments) argument = withName(argument, entry.name);
    request.onlyChanged = withName(request.onlyChanged, entry.name);
    request.trace = withName(request.trace, entry.name);
    request.reportDirectory = withName(request.reportDirectory, entry.name);
    return request;
}

std::optional<QString> portProblem(const QString& port) {
    // The same check as --port, whatever names it takes.
    const ParsedCliRequest parsed =
        parseCliRequest({QStringLiteral("--port"), port, QStringLiteral("detect")});
    if (parsed.request) return std::nullopt;
    return parsed.error;
}

QString lineOfPort(const QString& port) {
    if (const std::optional<link::NetworkAddress> server = link::parseNetworkAddress(port))
        return serverLine(*server);
    const QString device = ports::deviceOf(port);
    if (const std::optional<int> com = ports::comPortNumber(port); com && device.isEmpty())
        return ports::comName(*com);
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

}  // namespace tabulon::cli
