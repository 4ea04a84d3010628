// What a table run costs beyond its exchanges, in-process (the run's own
// work per record) and on a line of real speed through tabulon-sim --pace
// (the run's wall time over the time the line needs for its bytes).
#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "link/serial_port.h"
#include "sim/simulated_link.h"
#include "support/forwarding_port.h"
#include "support/sim_process.h"
#include "transfer/grid_rows.h"
#include "transfer/row_snapshot.h"
#include "transfer/table_run.h"

using namespace tabulon;
using namespace tabulon::transfer;

namespace {

class NoQuestions : public RunDialogs {
public:
    FailureAnswer askAfterFailure(int, int) override { return FailureAnswer::End; }
    void tellBadData(int, const QByteArray&) override {}
};

std::unique_ptr<GridModel> fullGoods(int rows) {
    const GridShape& shape = gridShape(TableKind::Goods);
    auto grid = std::make_unique<GridModel>(shape.columns, shape.rows);
    for (int row = 1; row <= rows; ++row) {
        const QStringList cells{QString::number(row),
                                QStringLiteral("Олія соняшникова %1").arg(row),
                                "45.20",
                                "100",
                                "3",
                                "1",
                                "1",
                                "1",
                                "0",
                                "4820000000123"};
        for (int c = 0; c < cells.size(); ++c) grid->setCell(row, c + 1, cells[c]);
    }
    return grid;
}

RunPlan goodsPlan(Direction direction, int rows) {
    RunPlan plan = *planTableRun(direction, TableKind::Goods, Model::Neon,
                                 IntervalTexts{"1", QString::number(rows), "1"})
                        .plan;
    return plan;
}

// The bare exchanges a 10000-record goods write makes, without the run.
void BM_BareGoodsWrites(benchmark::State& state) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.line->keepTranscript(false);
    sim.link->OpenPort(1, 115200);
    auto grid = fullGoods(10000);
    const RunPlan plan = goodsPlan(Direction::Write, 10000);
    // The records as the run would send them, made beforehand.
    QList<QByteArray> records;
    for (int row = 1; row <= 10000; ++row)
        records << BuildTableRecord(TableKind::Goods, recordCells(*grid, TableKind::Goods, row),
                                    Model::Neon, {row, row})
                       .text;
    for (auto _ : state) {
        for (int row = 1; row <= 10000; ++row) sim.link->WriteRecord(1, 0, row, records[row - 1]);
        sim.ecr->clearCommands();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_BareGoodsWrites)->Unit(benchmark::kMillisecond);

void BM_RunGoodsWrite(benchmark::State& state) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.line->keepTranscript(false);
    sim.link->OpenPort(1, 115200);
    auto grid = fullGoods(10000);
    const RunPlan plan = goodsPlan(Direction::Write, 10000);
    NoQuestions dialogs;
    RunControl control;
    for (auto _ : state) {
        RowSnapshot rows(*grid, TableKind::Goods, 1, 10000);
        RunParts parts{*sim.link, Connection{1, 1, 115200}, dialogs, control, nullptr, &rows};
        if (runTable(plan, parts).done != 10000) state.SkipWithError("records failed");
        sim.ecr->clearCommands();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_RunGoodsWrite)->Unit(benchmark::kMillisecond);

void BM_BareGoodsReads(benchmark::State& state) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.line->keepTranscript(false);
    sim.link->OpenPort(1, 115200);
    QByteArray reply;
    for (auto _ : state) {
        for (int row = 1; row <= 10000; ++row) sim.link->ReadRecord(1, 0, row, reply);
        sim.ecr->clearCommands();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_BareGoodsReads)->Unit(benchmark::kMillisecond);

class Sink : public RowSink {
public:
    void putRow(int row, const TableReply& reply) override { last = row + int(reply.cells.size()); }
    int last = 0;
};

void BM_RunGoodsRead(benchmark::State& state) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.line->keepTranscript(false);
    sim.link->OpenPort(1, 115200);
    const RunPlan plan = goodsPlan(Direction::Read, 10000);
    NoQuestions dialogs;
    RunControl control;
    Sink sink;
    for (auto _ : state) {
        RunParts parts{*sim.link, Connection{1, 1, 115200}, dialogs, control, nullptr, nullptr,
                       &sink};
        if (runTable(plan, parts).done != 10000) state.SkipWithError("records failed");
        sim.ecr->clearCommands();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_RunGoodsRead)->Unit(benchmark::kMillisecond);

// Counts the bytes both ways, to know how long the line needs for them.
class CountingPort final : public testing::ForwardingPort {
public:
    using ForwardingPort::ForwardingPort;
    void write(QByteArrayView bytes) override {
        bytes_ += bytes.size();
        ForwardingPort::write(bytes);
    }
    std::optional<std::uint8_t> readByte() override {
        auto byte = ForwardingPort::readByte();
        if (byte) ++bytes_;
        return byte;
    }
    qint64 bytes() const { return bytes_; }

private:
    qint64 bytes_ = 0;
};

// 1000 goods records at 115200 baud on a line that carries no faster: the
// run's wall time over the line time of what it exchanged ("line ratio").
void BM_PacedGoodsWrite(benchmark::State& state) {
    SimProcess ecr({"--model", "neon", "--pace", "115200"});
    auto counting = std::make_unique<CountingPort>(std::make_unique<link::SerialBytePort>());
    CountingPort* port = counting.get();
    link::RegisterLink::Parts linkParts;
    linkParts.port = std::move(counting);
    linkParts.deviceFor = [&](int) { return ecr.path(); };
    link::RegisterLink link(std::move(linkParts));
    if (ecr.path().isEmpty() || link.OpenPort(1, 115200) != 1) {
        state.SkipWithError("no simulated register");
        return;
    }
    auto grid = fullGoods(1000);
    const RunPlan plan = goodsPlan(Direction::Write, 1000);
    NoQuestions dialogs;
    RunControl control;
    double ratio = 0;
    for (auto _ : state) {
        RowSnapshot rows(*grid, TableKind::Goods, 1, 1000);
        RunParts parts{link, Connection{1, 1, 115200}, dialogs, control, nullptr, &rows};
        const qint64 before = port->bytes();
        QElapsedTimer wall;
        wall.start();
        if (runTable(plan, parts).done != 1000) state.SkipWithError("records failed");
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        const double lineSeconds = double(port->bytes() - before) * 11.0 / 115200.0;
        ratio = seconds / lineSeconds;
    }
    link.ClosePort(1);
    state.counters["line_ratio"] = ratio;
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_PacedGoodsWrite)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
