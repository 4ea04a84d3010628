#include "fleet/fleet_plan.h"

#include <QHash>
#include <QThread>
#include <atomic>
#include <memory>
#include <vector>

namespace tabulon::fleet {

QList<PortGroup> planFleet(const QList<FleetRegister>& registers,
                           const std::function<QString(const QString& port)>& lineOf) {
    QList<PortGroup> groups;
    QStringList lines;
    for (int index = 0; index < registers.size(); ++index) {
        const QString line = lineOf(registers[index].port);
        const qsizetype group = lines.indexOf(line);
        if (group >= 0) {
            groups[group].registers << index;
            continue;
        }
        lines << line;
        groups << PortGroup{registers[index].port, {index}};
    }
    return groups;
}

QString sameRegisterTwice(const QList<FleetRegister>& registers,
                          const std::function<QString(const QString& port)>& lineOf) {
    QHash<std::pair<QString, int>, int> seen;  // line and number: the register's index
    for (int index = 0; index < registers.size(); ++index) {
        const FleetRegister& entry = registers[index];
        const QString line = lineOf(entry.port);
        const auto earlier = seen.constFind({line, entry.number});
        if (earlier == seen.constEnd()) {
            seen.insert({line, entry.number}, index);
            continue;
        }
        const FleetRegister& first = registers[*earlier];
        return QStringLiteral(
                   "line %1: register %2 on %3 is already on line %4 (%5): both ports "
                   "are %6")
            .arg(entry.line)
            .arg(entry.number)
            .arg(entry.port)
            .arg(first.line)
            .arg(first.name, line);
    }
    return QString();
}

void runAtMost(int count, int jobs, const std::function<void(int index)>& work) {
    const int threads = jobs <= 0 || jobs > count ? count : jobs;
    std::atomic<int> next{0};
    // QThreads: the serial port a link opens watches its device with Qt's
    // socket notifiers, which take no other threads.
    const auto worker = [&] {
        for (int index = next++; index < count; index = next++) work(index);
    };
    std::vector<std::unique_ptr<QThread>> running;
    bool anyStarted = false;
    for (int t = 0; t < threads; ++t) {
        running.emplace_back(QThread::create(worker));
        running.back()->start();
        // A thread the system would not make (its limit of threads or of
        // memory for stacks) leaves its work to the others: fewer at once,
        // but every one done.
        anyStarted = anyStarted || running.back()->isRunning() || running.back()->isFinished();
    }
    if (!anyStarted) worker();
    for (const std::unique_ptr<QThread>& thread : running) thread->wait();
}

}  // namespace tabulon::fleet
