// The program's resident memory: the main window shown and initialised, its
// sales window open with a full card loaded. Reported as counters (MB) of a
// single run. Run under the offscreen platform:
//   QT_QPA_PLATFORM=offscreen sdcard_memory_bench

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "card_files_support.h"
#include "catalogue/grid_model.h"
#include "sdcard/sales_window.h"
#include "support/resident_memory.h"
#include "support/scripted_dialogs.h"

namespace {

using tabulon::bench::residentMegabytes;
using tabulon::sdcard::SalesWindow;

void ProgramWithLoadedSalesWindow(benchmark::State& state) {
    QTemporaryDir directory;
    QDir::setCurrent(directory.path());
    tabulon::sdcard::bench::writeFullCard(directory.path());
    for (auto _ : state) {
        tabulon::ScriptedDialogs dialogs;
        tabulon::app::MainWindow window(&dialogs);
        window.show();
        while (!window.isInitialised()) QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        state.counters["main_window_MB"] = residentMegabytes();

        auto* sales = window.findChild<SalesWindow*>();
        if (!sales) {
            state.SkipWithError("no sales window");
            break;
        }
        dialogs.onModal = [&](QDialog&) {
            sales->findChild<QLineEdit*>("DirectoryEdit1")->setText(directory.path());
            sales->findChild<QPushButton*>("Button1")->click();
            QCoreApplication::processEvents();
            state.counters["with_sales_loaded_MB"] = residentMegabytes();
            return 0;
        };
        window.findChild<QPushButton*>("Button14")->click();
        if (!dialogs.messages().isEmpty() || sales->grid().cell(10000, 16) != "0.00")
            state.SkipWithError("the card did not load");
    }
}
BENCHMARK(ProgramWithLoadedSalesWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
