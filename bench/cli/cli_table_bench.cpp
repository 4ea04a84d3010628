// A full goods table of 10000 records written (and read) by tabulon-cli as a
// script runs it: a child process on a pseudo-terminal to tabulon-sim, at the
// line's top speed, no progress line. Wall time gives records per second; the
// command's own CPU time (user and system, from wait4) per record says what
// the program costs beside the line.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <vector>

#include "support/cli_child.h"
#include "support/sim_process.h"

namespace {

constexpr int kGoods = 10000;

using bench::ChildRun;
using bench::runCli;

// `records` goods from the file's first row on, through a register that
// takes and sends bytes at `pace` baud (0: as fast as the pseudo-terminal).
void goodsTable(benchmark::State& state, const char* command, int records = kGoods, int pace = 0) {
    QTemporaryDir directory;
    const QString file = directory.filePath("goods.art");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bench::shopGoodsFile(kGoods, kGoods)) < 0) {
        state.SkipWithError("no goods file");
        return;
    }
    out.close();
    QStringList simArguments{"--model", "mp-550t"};
    if (pace > 0) simArguments << "--pace" << QString::number(pace);
    SimProcess ecr(simArguments);
    const QString speed = QString::number(pace > 0 ? pace : 115200);
    QStringList interval;
    if (records < kGoods) interval << "--interval" << QStringLiteral("1:%1:1").arg(records);
    if (ecr.path().isEmpty()) {
        state.SkipWithError("no simulated register");
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        const ChildRun run = runCli(
            QStringList{"--port", ecr.path(), "--speed", speed, "--model", "mp-550t", "--quiet"} +
            interval + QStringList{command, "goods", file});
        if (run.status != 0) {
            state.SkipWithError("tabulon-cli failed");
            return;
        }
        state.SetIterationTime(run.wallSeconds);
        cpu += run.cpuSeconds;
    }
    const double done = double(records) * double(state.iterations());
    state.counters["records_per_second"] = benchmark::Counter(done, benchmark::Counter::kIsRate);
    state.counters["cli_cpu_us_per_record"] = cpu * 1e6 / done;
    state.SetItemsProcessed(int64_t(done));
}

void BM_CliWriteFullGoodsTable(benchmark::State& state) {
    goodsTable(state, "write-table");
}
BENCHMARK(BM_CliWriteFullGoodsTable)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void BM_CliReadFullGoodsTable(benchmark::State& state) {
    goodsTable(state, "read-table");
}
BENCHMARK(BM_CliReadFullGoodsTable)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// What the line itself costs: 20 goods at 4800 baud, the speed registers
// are mostly run at. A full table takes 10000 / records_per_second.
void BM_CliWriteGoodsAt4800Baud(benchmark::State& state) {
    goodsTable(state, "write-table", 20, 4800);
}
BENCHMARK(BM_CliWriteGoodsAt4800Baud)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
