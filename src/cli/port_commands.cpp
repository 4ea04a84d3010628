#include "cli/port_commands.h"

#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <array>
#include <mutex>
#include <vector>

#include "cli/cli_port.h"
#include "cli/stop_signals.h"
#include "link/line_bytes.h"
#include "link/line_settings.h"
#include "link/network_address.h"
#include "link/register_link.h"
#include "options/command_line.h"
#include "ports/port_problem.h"
#include "settings/settings_file.h"
#include "transfer/run_parts.h"

namespace tabulon::cli {

namespace {

QStringList listed(const QString& text) {
    return text.split(u',', Qt::SkipEmptyParts);
}

// "1-5", "2,4" or both ("1-3,7").
std::optional<QList<int>> registerNumbers(const QString& text) {
    QList<int> numbers;
    for (const QString& part : listed(text)) {
        const QStringList ends = part.split(u'-');
        const auto first = options::number(ends.value(0));
        const auto last = ends.size() == 2 ? options::number(ends[1]) : first;
        if (ends.size() > 2 || !first || !last || *first < 1 || *last > link::kHighestRegister ||
            *first > *last)
            return std::nullopt;
        for (int n = *first; n <= *last; ++n)
            if (!numbers.contains(n)) numbers << n;
    }
    if (numbers.isEmpty()) return std::nullopt;
    return numbers;
}

// A raw TCP port of a serial server has the server's speed, whatever the
// link asks for: one speed tells as much as all of them.
bool rawServer(const ScanPort& port) {
    const std::optional<link::NetworkAddress> address = link::parseNetworkAddress(port.device);
    return address && address->kind == link::NetworkAddress::Kind::RawTcp;
}

QString found(const ScanPort& port, int speed, int registerNumber) {
    const QString where = port.name == port.device
                              ? port.device
                              : QStringLiteral("%1 (%2)").arg(port.name, port.device);
    const QString speedText =
        rawServer(port) ? QStringLiteral("the server's") : QString::number(speed);
    return QStringLiteral("%1 speed %2 register %3\n").arg(where, speedText).arg(registerNumber);
}

}  // namespace

QString portsListing(const QList<ports::PortAssignment>& assigned) {
    qsizetype width = 1;
    for (const ports::PortAssignment& port : assigned) width = std::max(width, port.device.size());
    QString text;
    for (const ports::PortAssignment& port : assigned) {
        QStringList about;
        if (link::isNetworkAddress(port.device))
            about << ports::serialServerKind(port.device, false);
        if (!port.details.description.isEmpty()) about << port.details.description;
        if (!port.details.serialNumber.isEmpty()) about << "serial " + port.details.serialNumber;
        if (port.source == ports::PortSource::Settings) about << QStringLiteral("[Ports]");
        const QString device = port.device.isEmpty() ? QStringLiteral("-") : port.device;
        QString line = QStringLiteral("%1  %2").arg(port.name(), -4).arg(device, -int(width));
        if (!about.isEmpty()) line += QStringLiteral("  ") + about.join(QStringLiteral(", "));
        text += line.trimmed() + u'\n';
    }
    return text;
}

CliResult runPorts(const CliContext&) {
    return {kExitDone, portsListing(ports::portAssignments(settings::workingSettingsFile())),
            QString(), false};
}

std::optional<ScanPlan> scanPlan(const CliRequest& request,
                                 const QList<ports::PortAssignment>& assignments, QString& error) {
    ScanPlan plan;
    if (request.scanPorts.isEmpty()) {
        for (const ports::PortAssignment& port : assignments) {
            if (port.source != ports::PortSource::None)
                plan.ports << ScanPort{port.name(), port.device, port.number};
        }
    } else {
        for (const QString& name : listed(request.scanPorts)) {
            if (const std::optional<int> com = ports::comPortNumber(name)) {
                const ports::PortAssignment& port = assignments.at(*com - 1);
                plan.ports << ScanPort{port.name(), port.device, port.number};
            } else if (name.contains(u'/')) {
                plan.ports << ScanPort{name, name, 1};
            } else {
                error = QStringLiteral(
                    "--ports takes COM1 to COM9 or device paths, separated by commas");
                return std::nullopt;
            }
        }
    }
    if (request.scanSpeeds.isEmpty()) {
        plan.speeds = link::acceptedSpeeds();
    } else {
        for (const QString& text : listed(request.scanSpeeds)) {
            const std::optional<int> speed = options::number(text);
            if (!speed || !link::speedText(*speed)) {
                error = QStringLiteral("--speeds takes speeds of %1, separated by commas")
                            .arg(link::speedList());
                return std::nullopt;
            }
            if (!plan.speeds.contains(*speed)) plan.speeds << *speed;
        }
    }
    const auto registers = registerNumbers(request.scanRegisters.isEmpty() ? QStringLiteral("1-5")
                                                                           : request.scanRegisters);
    if (!registers) {
        error = QStringLiteral("--registers takes numbers 1 to 99 and ranges (1-5,7)");
        return std::nullopt;
    }
    plan.registers = *registers;
    return plan;
}

namespace {

// What the threads of one scan share.
struct ScanState {
    const ScanPlan& plan;
    const CliContext& context;
    std::mutex mutex;                 // guards the rest, and the console
    QList<std::array<int, 3>> finds;  // port, speed and register by their place in the plan
    bool ended = false;               // a find ended the scan (without --all)
    QString traceError;

    bool stopped() {
        if (context.control.stopRequested) return true;
        const std::lock_guard lock(mutex);
        return ended;
    }
};

// One port at every speed and number, on the thread the port is opened by.
void scanPort(ScanState& state, int portIndex) {
    const ScanPort& port = state.plan.ports[portIndex];
    CliRequest single = state.context.request;
    single.port = port.device;
    QString traceError;
    const std::unique_ptr<link::RegisterLink> link = makeCliLink(single, traceError);
    if (!link) {
        const std::lock_guard lock(state.mutex);
        state.traceError = traceError;
        return;
    }
    const int speeds = rawServer(port) ? 1 : int(state.plan.speeds.size());
    for (int speedIndex = 0; speedIndex < speeds; ++speedIndex) {
        if (state.stopped()) return;
        const int speed = state.plan.speeds[speedIndex];
        const bool opened = !port.device.isEmpty() && link->OpenPort(port.number, speed) >= 0;
        if (!opened) {
            // The device, not the speed, failed: the other speeds would too.
            const ports::PortFailure why =
                ports::linkOpenFailure(*link, port.name == port.device ? 0 : port.number);
            const std::lock_guard lock(state.mutex);
            state.context.console.message(ports::portFailureTextEnglish(why));
            return;
        }
        for (int registerIndex = 0; registerIndex < state.plan.registers.size(); ++registerIndex) {
            if (state.stopped()) break;
            const int registerNumber = state.plan.registers[registerIndex];
            if (state.context.console.showsProgress()) {
                const std::lock_guard lock(state.mutex);
                state.context.console.progress(QStringLiteral("%1 speed %2 register %3")
                                                   .arg(port.name)
                                                   .arg(speed)
                                                   .arg(registerNumber));
            }
            if (link->DetectRegister(registerNumber) < 0) continue;
            const std::lock_guard lock(state.mutex);
            // Two ports may answer at once; without --all only the first counts.
            if (state.ended) break;
            state.finds.append({portIndex, speedIndex, registerIndex});
            if (!state.context.request.scanAll) state.ended = true;
        }
        link->ClosePort(port.number);
    }
}

}  // namespace

CliResult runScan(const CliContext& context) {
    QString error;
    const std::optional<ScanPlan> plan =
        scanPlan(context.request, ports::portAssignments(settings::workingSettingsFile()), error);
    if (!plan) return usageError(error);
    if (plan->ports.isEmpty()) return failure(QStringLiteral("no serial port to scan"));

    // Ctrl-C ends the scan after the detections in hand, the ports released.
    const StopOnSignals stopOnSignals(context.control);
    ScanState state{*plan, context, {}, {}, false, {}};
    // The ports are separate lines: they are searched side by side, each on
    // a thread of its own, so a scan takes as long as one port's. A trace
    // of them all would interleave, so with --trace they go one by one.
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < plan->ports.size(); ++i) {
        threads.emplace_back(QThread::create([&state, i] { scanPort(state, i); }));
        threads.back()->start();
        if (!context.request.trace.isEmpty()) threads.back()->wait();
    }
    for (const auto& thread : threads) thread->wait();
    context.console.endProgress();

    if (!state.traceError.isEmpty())
        return inputError(
            QStringLiteral("--trace %1: %2").arg(context.request.trace, state.traceError));
    // Told in the order of the plan, whichever thread found it first.
    std::sort(state.finds.begin(), state.finds.end());
    QString output;
    for (const auto& [portIndex, speedIndex, registerIndex] : state.finds)
        output +=
            found(plan->ports[portIndex], plan->speeds[speedIndex], plan->registers[registerIndex]);
    if (context.control.stopRequested && !state.ended)
        return {kExitFailed, output, QStringLiteral("scan stopped"), false};
    if (output.isEmpty()) return failure(QStringLiteral("no register answered"));
    return {kExitDone, output, QString(), false};
}

}  // namespace tabulon::cli
