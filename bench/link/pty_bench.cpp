// Records per second through a real pseudo-terminal to tabulon-sim, with the
// real serial port, scheduler and clock: what a table run gets from the
// simulated register. CPU time is the program's own.
#include <benchmark/benchmark.h>

#include "link/serial_link.h"
#include "sim/tables.h"
#include "support/sim_process.h"

using namespace tabulon;

namespace {

const QByteArray kGoodsRecord = sim::cp1251(
    QStringLiteral("1234;Олія соняшникова нерафінована 1л;45.20;100.000;3;1;1;1;0;4820000000123;"));

void BM_PtyWriteGoodsRecord(benchmark::State& state) {
    SimProcess ecr({"--model", "neon"});
    auto link = link::makeSerialLink([&](int) { return ecr.path(); });
    if (ecr.path().isEmpty() || link->OpenPort(1, 115200) != 1) {
        state.SkipWithError("no simulated register");
        return;
    }
    int record = 0;
    for (auto _ : state) {
        if (link->WriteRecord(1, 0, record % 10000 + 1, kGoodsRecord) < 0)
            state.SkipWithError("write failed");
        ++record;
    }
    link->ClosePort(1);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PtyWriteGoodsRecord)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_PtyReadGoodsRecord(benchmark::State& state) {
    SimProcess ecr({"--model", "neon"});
    auto link = link::makeSerialLink([&](int) { return ecr.path(); });
    if (ecr.path().isEmpty() || link->OpenPort(1, 115200) != 1) {
        state.SkipWithError("no simulated register");
        return;
    }
    QByteArray reply;
    int record = 0;
    for (auto _ : state) {
        if (link->ReadRecord(1, 0, record % 10000 + 1, reply) < 0)
            state.SkipWithError("read failed");
        ++record;
    }
    link->ClosePort(1);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PtyReadGoodsRecord)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
