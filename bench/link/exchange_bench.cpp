// The program's own cost of one record exchange: the link and the in-process
// simulated register, no line in between. At 115200 baud a goods record takes
// about 17 ms on the wire.
#include <benchmark/benchmark.h>

#include "sim/simulated_link.h"
#include "sim/tables.h"

using namespace tabulon;

namespace {

sim::SimulatedLink openLink() {
    sim::SimulatedLink simulated = sim::makeSimulatedLink(sim::Model::Neon);
    simulated.line->keepTranscript(false);
    simulated.link->OpenPort(1, 115200);
    return simulated;
}

const QByteArray kGoodsRecord = sim::cp1251(
    QStringLiteral("1234;Олія соняшникова нерафінована 1л;45.20;100.000;3;1;1;1;0;4820000000123;"));

void BM_WriteGoodsRecord(benchmark::State& state) {
    sim::SimulatedLink simulated = openLink();
    int record = 0;
    for (auto _ : state) {
        const int result = simulated.link->WriteRecord(1, 0, record % 10000 + 1, kGoodsRecord);
        if (result < 0) state.SkipWithError("write failed");
        ++record;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteGoodsRecord);

void BM_ReadGoodsRecord(benchmark::State& state) {
    sim::SimulatedLink simulated = openLink();
    for (int record = 1; record <= 100; ++record)
        simulated.link->WriteRecord(1, 0, record, kGoodsRecord);
    QByteArray reply;
    int record = 0;
    for (auto _ : state) {
        const int result = simulated.link->ReadRecord(1, 0, record % 100 + 1, reply);
        if (result < 0) state.SkipWithError("read failed");
        ++record;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadGoodsRecord);

void BM_BuildFrame(benchmark::State& state) {
    const QByteArray command = "W0;1234;" + kGoodsRecord;
    for (auto _ : state) benchmark::DoNotOptimize(link::BuildFrame(command));
    state.SetBytesProcessed(state.iterations() * command.size());
}
BENCHMARK(BM_BuildFrame);

}  // namespace
