// A full goods table written and read through the real window, its link
// thread and a pseudo-terminal to tabulon-sim: records per second, and the
// longest time the window's event loop went without handling an event while
// the run lasted. Run under the offscreen platform.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "catalogue/grid_model.h"
#include "support/sim_process.h"
#include "support/stall_watch.h"
#include "support/window_fixture.h"

namespace {

void runThroughTheWindow(benchmark::State& state, const char* button) {
    SimProcess ecr({"--model", "neon"});
    tabulon::testing::WindowFixture f(
        "[Communication]\r\nSpeed=115200\r\n[Ports]\r\nCOM1=" + ecr.path().toLocal8Bit() + "\r\n");
    f.control<QPushButton>("Button5")->click();
    if (ecr.path().isEmpty() || !f.waitForLink() || !f.window().Connected) {
        state.SkipWithError("not connected to a simulated register");
        return;
    }
    tabulon::app::MainWindow& window = f.window();
    tabulon::GridModel& goods = *window.grid(tabulon::TableKind::Goods);
    for (int row = 1; row <= 10000; ++row) {
        goods.setCell(row, 1, QString::number(row));
        goods.setCell(row, 2, QStringLiteral("Олія соняшникова %1").arg(row));
        goods.setCell(row, 3, "45.20");
    }
    double stall = 0;
    for (auto _ : state) {
        StallWatch watch;
        window.findChild<QPushButton*>(button)->click();
        while (window.isLinkBusy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents();
        stall = watch.longestMs();
    }
    state.counters["longest_stall_ms"] = stall;
    state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_WindowGoodsWrite(benchmark::State& state) {
    runThroughTheWindow(state, "Button4");
}
BENCHMARK(BM_WindowGoodsWrite)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WindowGoodsRead(benchmark::State& state) {
    runThroughTheWindow(state, "Button9");
}
BENCHMARK(BM_WindowGoodsRead)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
