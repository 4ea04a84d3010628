// 1000 goods into each of eight simulated registers, every one on its own
// pseudo-terminal that carries bytes no faster than a 115200 baud line.
// Within the one benchmark run: the same goods into one register alone
// (tabulon-cli --port), then into all eight (tabulon-cli --fleet). With a
// line of its own per register the fleet should take hardly longer than one
// register: fleet_over_one is that ratio. The command's own CPU time (user
// and system, from wait4) per record says what the program costs beside the
// lines.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <vector>

#include "support/cli_child.h"
#include "support/sim_process.h"

namespace {

constexpr int kRegisters = 8;
constexpr int kRecords = 1000;
constexpr int kGoodsLines = 10000;  // a goods file of the Datecs MP-550T

using bench::ChildRun;
using bench::runCli;

// Writes `bytes` to `name` in the directory; empty when it could not.
QString writtenFile(const QTemporaryDir& directory, const QString& name, const QByteArray& bytes) {
    const QString path = directory.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return path;
}

// A fleet file of MP-550Ts at 115200 baud, register 1 each, kassa-1 on.
QByteArray fleetOf(const QStringList& ports) {
    QByteArray fleet;
    for (qsizetype i = 0; i < ports.size(); ++i)
        fleet += QStringLiteral("kassa-%1 %2 115200 1 mp-550t\n").arg(i + 1).arg(ports[i]).toUtf8();
    return fleet;
}

// The goods the fleet and the one register are given.
QStringList goodsWrite(const QString& goods, int records) {
    return {"--interval", QStringLiteral("1:%1:1").arg(records), "--quiet", "write-table", "goods",
            goods};
}

void BM_FleetOfEightAgainstOne(benchmark::State& state) {
    QTemporaryDir directory;
    const QString goods =
        writtenFile(directory, "goods.art", bench::shopGoodsFile(kGoodsLines, kRecords));
    if (goods.isEmpty()) {
        state.SkipWithError("no goods file");
        return;
    }
    std::vector<std::unique_ptr<SimProcess>> registers;
    QStringList ports;
    for (int i = 1; i <= kRegisters; ++i) {
        registers.push_back(
            std::make_unique<SimProcess>(QStringList{"--model", "mp-550t", "--pace", "115200"}));
        if (registers.back()->path().isEmpty()) {
            state.SkipWithError("no simulated register");
            return;
        }
        ports << registers.back()->path();
    }
    const QString fleetFile = writtenFile(directory, "fleet.txt", fleetOf(ports));
    if (fleetFile.isEmpty()) {
        state.SkipWithError("no fleet file");
        return;
    }
    const QStringList command = goodsWrite(goods, kRecords);

    double oneWall = 0;
    double fleetWall = 0;
    double fleetCpu = 0;
    double oneCpu = 0;
    for (auto _ : state) {
        const ChildRun one = runCli(
            QStringList{"--port", registers[0]->path(), "--speed", "115200", "--model", "mp-550t"} +
            command);
        const ChildRun all = runCli(QStringList{"--fleet", fleetFile} + command);
        if (one.status != 0 || all.status != 0) {
            state.SkipWithError("tabulon-cli failed");
            return;
        }
        state.SetIterationTime(all.wallSeconds);
        oneWall += one.wallSeconds;
        oneCpu += one.cpuSeconds;
        fleetWall += all.wallSeconds;
        fleetCpu += all.cpuSeconds;
    }
    const double runs = double(state.iterations());
    state.counters["one_register_s"] = oneWall / runs;
    state.counters["fleet_s"] = fleetWall / runs;
    state.counters["fleet_over_one"] = fleetWall / oneWall;
    state.counters["one_cpu_us_per_record"] = oneCpu * 1e6 / (runs * kRecords);
    state.counters["fleet_cpu_us_per_record"] = fleetCpu * 1e6 / (runs * kRecords * kRegisters);
    state.SetItemsProcessed(int64_t(runs * kRecords * kRegisters));
}
BENCHMARK(BM_FleetOfEightAgainstOne)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// 200 goods into each of 256 simulated registers on tcp:// addresses, all
// served by one tabulon-sim paced at 115200 baud, as a chain's registers
// behind serial servers; beside it one register of the same server alone.
// Besides fleet_over_one and the CPU time per record: the peak resident
// memory of tabulon-cli, and what each register adds to it.
constexpr int kChainRegisters = 256;
constexpr int kChainRecords = 200;

void BM_ChainOf256OnOneServer(benchmark::State& state) {
    QTemporaryDir directory;
    const QString goods =
        writtenFile(directory, "goods.art", bench::shopGoodsFile(kGoodsLines, kChainRecords));
    if (goods.isEmpty()) {
        state.SkipWithError("no goods file");
        return;
    }
    SimProcess server({"--model", "mp-550t", "--pace", "115200", "--listen", "tcp://127.0.0.1:0",
                       "--count", QString::number(kChainRegisters)},
                      kChainRegisters);
    if (server.paths().size() != kChainRegisters) {
        state.SkipWithError("no simulated registers");
        return;
    }
    const QString fleetFile = writtenFile(directory, "chain.txt", fleetOf(server.paths()));
    if (fleetFile.isEmpty()) {
        state.SkipWithError("no fleet file");
        return;
    }
    const QStringList command = goodsWrite(goods, kChainRecords);

    ChildRun one;
    ChildRun all;
    for (auto _ : state) {
        one = runCli(QStringList{"--port", server.paths()[0], "--model", "mp-550t"} + command);
        all = runCli(QStringList{"--fleet", fleetFile} + command);
        if (one.status != 0 || all.status != 0) {
            state.SkipWithError("tabulon-cli failed");
            return;
        }
        state.SetIterationTime(all.wallSeconds);
    }
    state.counters["one_register_s"] = one.wallSeconds;
    state.counters["fleet_s"] = all.wallSeconds;
    state.counters["fleet_over_one"] = all.wallSeconds / one.wallSeconds;
    state.counters["one_cpu_us_per_record"] = one.cpuSeconds * 1e6 / kChainRecords;
    state.counters["fleet_cpu_us_per_record"] =
        all.cpuSeconds * 1e6 / (kChainRecords * kChainRegisters);
    state.counters["one_peak_mb"] = one.peakMegabytes;
    state.counters["fleet_peak_mb"] = all.peakMegabytes;
    state.counters["peak_mb_per_register"] = all.peakMegabytes / kChainRegisters;
    state.counters["added_mb_per_register"] =
        (all.peakMegabytes - one.peakMegabytes) / (kChainRegisters - 1);
    state.SetItemsProcessed(int64_t(kChainRecords) * kChainRegisters);
}
BENCHMARK(BM_ChainOf256OnOneServer)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
