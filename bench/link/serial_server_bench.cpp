// Record exchanges through Debian's ser2net (raw TCP and RFC 2217) beside the
// pseudo-terminal itself, in one run: exchanges per second, and the
// program's CPU time per exchange (the "CPU" column). And the 1000-record
// goods write through ser2net to a register paced at 115200 baud, its wall
// time over the time the bytes take on such a line.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include "link/line_port.h"
#include "link/register_link.h"
#include "sim/tables.h"
#include "support/forwarding_port.h"
#include "support/ser2net_process.h"
#include "support/sim_process.h"

using namespace tabulon;

namespace {

const QByteArray kGoodsRecord = sim::cp1251(
    QStringLiteral("1234;Олія соняшникова нерафінована 1л;45.20;100.000;3;1;1;1;0;4820000000123;"));

// Counts the bytes that cross the line.
class CountingPort final : public testing::ForwardingPort {
public:
    using ForwardingPort::ForwardingPort;
    void write(QByteArrayView bytes) override {
        *count_ += bytes.size();
        ForwardingPort::write(bytes);
    }
    std::optional<std::uint8_t> readByte() override {
        const auto byte = ForwardingPort::readByte();
        if (byte) ++*count_;
        return byte;
    }
    std::shared_ptr<qint64> count_ = std::make_shared<qint64>(0);
};

enum Way { Pty, Raw, Rfc2217 };

void BM_ServerReadGoodsRecord(benchmark::State& state) {
    const Way way = Way(state.range(0));
    SimProcess ecr({"--model", "neon"});
    Ser2netProcess server(ecr.path(), 115200);
    const QString device = way == Pty ? ecr.path() : way == Raw ? server.raw() : server.rfc2217();
    link::RegisterLink::Parts parts;
    parts.port = link::makeLinePort();
    parts.deviceFor = [&](int) { return device; };
    link::RegisterLink link(std::move(parts));
    if (ecr.path().isEmpty() || link.OpenPort(1, 115200) != 1 ||
        link.WriteRecord(1, 0, 1, kGoodsRecord) < 0) {
        state.SkipWithError("no simulated register behind the server");
        return;
    }
    QByteArray reply;
    for (auto _ : state) {
        if (link.ReadRecord(1, 0, 1, reply) < 0) state.SkipWithError("read failed");
    }
    link.ClosePort(1);
    state.SetLabel(way == Pty ? "pty" : way == Raw ? "ser2net raw" : "ser2net rfc2217");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ServerReadGoodsRecord)
    ->Arg(Pty)
    ->Arg(Raw)
    ->Arg(Rfc2217)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// 1000 goods records through RFC 2217 to a register that takes and sends
// bytes no faster than 115200 baud: "wall/line" is the run's wall time over
// the time its bytes take on the line (11 bits each, 8N2 with the start bit).
void BM_ServerPacedGoodsWrite(benchmark::State& state) {
    SimProcess ecr({"--model", "neon", "--pace", "115200"});
    Ser2netProcess server(ecr.path(), 115200);
    auto counting = std::make_unique<CountingPort>(link::makeLinePort());
    const std::shared_ptr<qint64> bytes = counting->count_;
    link::RegisterLink::Parts parts;
    parts.port = std::move(counting);
    parts.deviceFor = [&](int) { return server.rfc2217(); };
    link::RegisterLink link(std::move(parts));
    if (ecr.path().isEmpty() || link.OpenPort(1, 115200) != 1) {
        state.SkipWithError("no simulated register behind the server");
        return;
    }
    double wall = 0, line = 0;
    for (auto _ : state) {
        *bytes = 0;
        QElapsedTimer timer;
        timer.start();
        for (int record = 1; record <= 1000; ++record) {
            if (link.WriteRecord(1, 0, record, kGoodsRecord) < 0)
                state.SkipWithError("write failed");
        }
        wall += timer.nsecsElapsed() / 1e9;
        line += *bytes * 11.0 / 115200.0;
    }
    link.ClosePort(1);
    state.counters["wall/line"] = wall / line;
    state.counters["line_s"] = line / double(state.iterations());
}
BENCHMARK(BM_ServerPacedGoodsWrite)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
