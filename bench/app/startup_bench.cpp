// Start-up cost: from creating the main window to a shown, initialised window
// with all grids (10000 goods rows) in place, and the process's memory then.
// Run under the offscreen platform: QT_QPA_PLATFORM=offscreen startup_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"

namespace {

double residentMegabytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void StartupToShownWindow(benchmark::State& state) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    double rss = 0;
    for (auto _ : state) {
        auto window = std::make_unique<tabulon::app::MainWindow>();
        window->show();
        while (!window->isInitialised()) QCoreApplication::processEvents();
        state.PauseTiming();
        rss = residentMegabytes();
        window.reset();
        QFile::remove(dir.filePath("Tabulon.ini"));
        state.ResumeTiming();
    }
    state.counters["rss_MB"] = rss;
}
BENCHMARK(StartupToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
