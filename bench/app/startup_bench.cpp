// Start-up cost: from creating the main window to a shown, initialised window
// with all grids (10000 goods rows) in place, and the process's memory then;
// the same with a Tabulon.ini of 10 MB, and reading that file alone.
// Run under the offscreen platform: QT_QPA_PLATFORM=offscreen startup_bench

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "settings/startup_settings.h"
#include "support/file_bytes.h"
#include "support/resident_memory.h"

namespace {

using tabulon::bench::residentMegabytes;
using tabulon::testing::writeFile;

// Opens the window again and again in a working directory whose Tabulon.ini
// holds `settings` as each start begins (no file when empty): the window
// writes its own when it closes.
void startUpRepeatedly(benchmark::State& state, const QByteArray& settings) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString ini = dir.filePath("Tabulon.ini");
    double rss = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (settings.isEmpty()) {
            QFile::remove(ini);
        } else {
            writeFile(ini, settings);
        }
        state.ResumeTiming();
        auto window = std::make_unique<tabulon::app::MainWindow>();
        window->show();
        while (!window->isInitialised()) QCoreApplication::processEvents();
        state.PauseTiming();
        rss = residentMegabytes();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["rss_MB"] = rss;
}

void StartupToShownWindow(benchmark::State& state) {
    startUpRepeatedly(state, {});
}
BENCHMARK(StartupToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// A settings file grown to 10 MB by lines the program does not know (a tool
// that keeps its history there), half of them in a section of their own and
// half inside [Reports] ahead of the report keys, so every key the program
// reads is found behind them. The stored values are all valid: nothing is
// written back.
QByteArray largeSettingsFile() {
    const QByteArray filler = "=C:\\Program Files\\Kassa\\reports\\2026-12-07\\RepArt.dat\r\n";
    QByteArray history;
    for (int n = 0; history.size() < 5'000'000; ++n)
        history += "Entry" + QByteArray::number(n) + filler;
    return "[Communication]\r\nSpeed=9600\r\nSerialPort=COM2\r\n[History]\r\n" + history +
           "[TypeECR]\r\nECR=1\r\n[Reports]\r\n" + history +
           "Art=a.dat\r\nOtd=b.dat\r\nDirectory=/srv/reports\r\n";
}

void SettingsFromA10MBFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray bytes = largeSettingsFile();
    writeFile(dir.filePath("Tabulon.ini"), bytes);
    const QStringList speeds{"4800", "9600", "14400", "19200", "28800", "38400", "56000", "115200"};
    const QStringList ports{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"};
    for (auto _ : state) {
        const auto stored = tabulon::settings::loadStartupSettings(dir.path(), speeds, ports, 3);
        benchmark::DoNotOptimize(stored.reportDirectory);
    }
    state.counters["file_MB"] = bytes.size() / 1e6;
    state.counters["rss_MB"] = residentMegabytes();
}
BENCHMARK(SettingsFromA10MBFile)->Unit(benchmark::kMillisecond)->Iterations(10);

void StartupWithA10MBSettingsFile(benchmark::State& state) {
    startUpRepeatedly(state, largeSettingsFile());
}
BENCHMARK(StartupWithA10MBSettingsFile)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
