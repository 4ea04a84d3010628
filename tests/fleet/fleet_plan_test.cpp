// Which registers share a line, and how many lines are worked at once.
#include "fleet/fleet_plan.h"

#include <gtest/gtest.h>

#include <QSemaphore>
#include <algorithm>
#include <atomic>
#include <mutex>

namespace tabulon::fleet {
namespace {

QList<FleetRegister> onPorts(const QStringList& ports) {
    QList<FleetRegister> registers;
    for (const QString& port : ports)
        registers << FleetRegister{QString(), port, 4800, 1, Model::Neon, 0};
    return registers;
}

TEST(FleetPlan, RegistersOfALineGoTogetherInFileOrder) {
    // Ports name one line however their letters are written.
    const auto line = [](const QString& port) { return port.toUpper(); };
    const struct {
        QStringList ports;
        QList<QList<int>> groups;
        QStringList names;
    } rows[] = {
        {{"COM1", "COM2", "COM3"}, {{0}, {1}, {2}}, {"COM1", "COM2", "COM3"}},
        {{"COM1", "COM2", "com1", "COM3", "COM2"}, {{0, 2}, {1, 4}, {3}}, {"COM1", "COM2", "COM3"}},
        {{"/dev/b", "/dev/a", "/dev/b", "/dev/b"}, {{0, 2, 3}, {1}}, {"/dev/b", "/dev/a"}},
        {{"COM4"}, {{0}}, {"COM4"}},
    };
    for (const auto& row : rows) {
        const QList<PortGroup> groups = planFleet(onPorts(row.ports), line);
        QList<QList<int>> indices;
        QStringList names;
        for (const PortGroup& group : groups) {
            indices << group.registers;
            names << group.port;
        }
        EXPECT_EQ(indices, row.groups) << qPrintable(row.ports.join(' '));
        EXPECT_EQ(names, row.names) << qPrintable(row.ports.join(' '));
    }
}

TEST(FleetPlan, OneRegisterUnderTwoPortNamesIsAMistake) {
    // /dev/kassa links to /dev/ttyUSB0; COM3 is mapped to it.
    const auto line = [](const QString& port) {
        return port == "/dev/kassa" || port == "COM3" ? QString("/dev/ttyUSB0") : port;
    };
    const struct {
        QList<std::pair<QString, int>> registers;  // port, number
        QString error;
    } rows[] = {
        {{{"/dev/ttyUSB0", 1}, {"/dev/kassa", 2}, {"COM3", 3}}, ""},
        {{{"/dev/ttyUSB1", 1}, {"/dev/ttyUSB0", 1}, {"/dev/kassa", 1}},
         "line 3: register 1 on /dev/kassa is already on line 2 (r1): both ports are "
         "/dev/ttyUSB0"},
        {{{"COM3", 4}, {"/dev/ttyUSB1", 4}, {"/dev/kassa", 4}},
         "line 3: register 4 on /dev/kassa is already on line 1 (r0): both ports are "
         "/dev/ttyUSB0"},
        // Device names differ in case where the system tells them apart.
        {{{"/dev/ttyS0", 1}, {"/dev/ttys0", 1}}, ""},
    };
    for (const auto& row : rows) {
        QList<FleetRegister> registers;
        for (const auto& [port, number] : row.registers) {
            const int index = int(registers.size());
            registers << FleetRegister{
                QStringLiteral("r%1").arg(index), port, 4800, number, Model::Neon, index + 1};
        }
        EXPECT_EQ(sameRegisterTwice(registers, line), row.error) << qPrintable(row.error);
    }
}

TEST(FleetPlan, NeverMoreThanTheJobsAtOnceAndEachOnce) {
    const struct {
        int count;
        int jobs;
        int together;  // how many must be running at once for any to finish
    } rows[] = {{5, 2, 2}, {3, 0, 3}, {3, 7, 3}, {4, 1, 1}, {0, 3, 0}};
    for (const auto& row : rows) {
        std::atomic<int> running{0};
        std::atomic<int> most{0};
        std::mutex mutex;
        QList<int> ran;
        // The first `together` wait for each other: they finish only if they
        // run at the same time. The wait is a guard against a hang, not a
        // measure.
        QSemaphore arrived;
        runAtMost(row.count, row.jobs, [&](int index) {
            const int now = ++running;
            for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            if (index < row.together) {
                arrived.release();
                EXPECT_TRUE(arrived.tryAcquire(row.together, 60000));
                arrived.release(row.together);
            }
            {
                const std::lock_guard lock(mutex);
                ran << index;
            }
            --running;
        });
        std::sort(ran.begin(), ran.end());
        QList<int> all;
        for (int i = 0; i < row.count; ++i) all << i;
        EXPECT_EQ(ran, all) << row.count << " " << row.jobs;
        EXPECT_EQ(most, row.together) << row.count << " " << row.jobs;
    }
}

}  // namespace
}  // namespace tabulon::fleet
