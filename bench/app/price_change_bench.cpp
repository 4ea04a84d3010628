// A price change through the real window, its link thread and a
// pseudo-terminal to tabulon-sim that carries bytes no faster than a 4800-baud
// line: ten prices edited in a 10 000-row goods grid that holds what the
// register holds, then written with "измененные строки"; and a comparison of
// the first rows followed by a write of "отличающиеся строки". Wall times;
// the comparison's records per second give a whole table's time. Run under
// the offscreen platform.

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "catalogue/grid_model.h"
#include "sim/tables.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"
#include "text/cp1251.h"

namespace {

using tabulon::testing::WindowFixture;

constexpr int kGoods = 10000;
constexpr int kCompared = 500;  // rows of the comparison: about a minute and a half

struct PricedWindow {
    SimProcess ecr{{"--model", "mp-550t", "--pace", "4800"}};
    WindowFixture f{"[Communication]\r\nSpeed=4800\r\n[Ports]\r\nCOM1=" + ecr.path().toLocal8Bit() +
                    "\r\n"};
    bool connected = false;

    PricedWindow() {
        f.control<QPushButton>("Button5")->click();
        connected = !ecr.path().isEmpty() && f.waitForLink(60000) && f.window().Connected;
        // The grid as the register holds it, as if opened from last week's file.
        tabulon::GridModel& goods = *f.window().grid(tabulon::TableKind::Goods);
        tabulon::GridModel::BulkUpdate bulk(goods);
        for (int row = 1; row <= kGoods; ++row) {
            QStringList cells =
                tabulon::text::fromCp1251(
                    tabulon::sim::defaultRecord(tabulon::sim::Model::DatecsMp550T, 0, row))
                    .split(u';');
            cells.removeLast();
            goods.setRowCells(row, cells);
        }
    }

    // Ten prices typed in as the user types them, spread over the table.
    void editTenPrices(int step) {
        tabulon::GridModel& goods = *f.window().grid(tabulon::TableKind::Goods);
        for (int row = 7; row < 7 + 10 * step; row += step)
            goods.setData(goods.index(row - 1, 2), QStringLiteral("%1.90").arg(row % 97));
    }

    // Clicks `button` and waits for the run to end: its wall time in seconds.
    double run(const char* button) {
        QElapsedTimer clock;
        clock.start();
        f.control<QPushButton>(button)->click();
        while (f.window().isLinkBusy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents();
        return clock.nsecsElapsed() / 1e9;
    }

    void writeRows(int choice) {
        f.control<QComboBox>("ComboBoxWriteRows")->setCurrentIndex(choice);
    }

    // What the last message boxes said, for the log.
    void tell(int last) {
        const auto& shown = f.dialogs().shown;
        for (qsizetype i = std::max<qsizetype>(0, shown.size() - last); i < shown.size(); ++i)
            std::fprintf(stderr, "  shown: %s\n", qPrintable(shown[i].text.simplified()));
    }
};

void BM_WindowWritesTenEditedPricesAt4800Baud(benchmark::State& state) {
    PricedWindow w;
    if (!w.connected) {
        state.SkipWithError("not connected to a simulated register");
        return;
    }
    for (auto _ : state) {
        w.editTenPrices(997);
        w.writeRows(1);  // "измененные строки"
        state.SetIterationTime(w.run("Button4"));
        w.tell(2);
    }
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_WindowWritesTenEditedPricesAt4800Baud)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_WindowComparesThenWritesWhatDiffersAt4800Baud(benchmark::State& state) {
    PricedWindow w;
    if (!w.connected) {
        state.SkipWithError("not connected to a simulated register");
        return;
    }
    w.f.control<QCheckBox>("CheckBox1")->setChecked(true);
    w.f.control<QLineEdit>("Edit2")->setText("1");
    w.f.control<QLineEdit>("Edit3")->setText(QString::number(kCompared));
    w.f.control<QLineEdit>("Edit4")->setText("1");
    double compared = 0;
    double written = 0;
    QString timeLeft;
    for (auto _ : state) {
        w.editTenPrices(kCompared / 10);
        QTimer::singleShot(20000,
                           [&] { timeLeft = w.f.control<QProgressBar>("ProgressBar1")->format(); });
        compared = w.run("ButtonCompare");
        w.tell(1);
        w.writeRows(2);  // "отличающиеся строки"
        written = w.run("Button4");
        w.tell(2);
        state.SetIterationTime(compared + written);
    }
    std::fprintf(stderr, "  after 20 s of the comparison the bar read: %s\n", qPrintable(timeLeft));
    state.counters["compare_s"] = compared;
    state.counters["write_s"] = written;
    state.counters["whole_table_compare_min"] = compared * kGoods / kCompared / 60;
}
BENCHMARK(BM_WindowComparesThenWritesWhatDiffersAt4800Baud)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
