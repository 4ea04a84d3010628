// The article report, 10000 records, read out of tabulon-sim through a
// pseudo-terminal at 115200 baud: records per second on the download alone,
// and through the real window the longest time its event loop went without
// handling an event while the download lasted. Run under the offscreen
// platform.

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "link/serial_link.h"
#include "reports/report_catalogue.h"
#include "reports/report_download.h"
#include "reports/report_line.h"
#include "support/sim_process.h"
#include "support/stall_watch.h"

#ifdef TABULON_WITH_WINDOW
#include "support/window_fixture.h"
#endif

namespace {

using namespace tabulon;

constexpr int kArticles = 10000;

class ArticleReportOnly : public reports::DownloadChoices {
public:
    explicit ArticleReportOnly(QString directory) : directory_(std::move(directory)) {}
    std::optional<reports::ReportStart> reportStarts(int index) override {
        if (index != 0) return std::nullopt;
        return reports::ReportStart{"RepArt.dat", reports::reportPath(directory_, "RepArt.dat"),
                                    kArticles};
    }
    std::optional<char> separator() override { return ';'; }

private:
    QString directory_;
};

class NoQuestions : public transfer::RunDialogs {
public:
    transfer::FailureAnswer askAfterFailure(int, int) override {
        return transfer::FailureAnswer::End;
    }
    void tellBadData(int, const QByteArray&) override {}
};

void BM_ArticleReportDownload(benchmark::State& state) {
    SimProcess ecr({"--model", "neon"});
    QTemporaryDir dir;
    if (ecr.path().isEmpty()) {
        state.SkipWithError("no simulated register");
        return;
    }
    auto link = link::makeSerialLink([&](int) { return ecr.path(); });
    if (link->OpenPort(1, 115200) < 0) {
        state.SkipWithError("the port did not open");
        return;
    }
    ArticleReportOnly choices(dir.path());
    NoQuestions dialogs;
    transfer::RunControl control;
    bool finished = true;
    for (auto _ : state) {
        reports::DownloadParts parts{*link, {1, 1, 115200}, dialogs, control, choices};
        finished = reports::downloadReports(parts).finished() && finished;
    }
    if (!finished) state.SkipWithError("the download did not finish");
    state.SetItemsProcessed(state.iterations() * kArticles);
}
BENCHMARK(BM_ArticleReportDownload)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);

#ifdef TABULON_WITH_WINDOW

void BM_ArticleReportThroughTheWindow(benchmark::State& state) {
    SimProcess ecr({"--model", "neon"});
    testing::WindowFixture f(
        "[Communication]\r\nSpeed=115200\r\n[Ports]\r\nCOM1=" + ecr.path().toLocal8Bit() + "\r\n");
    f.control<QPushButton>("Button5")->click();
    if (ecr.path().isEmpty() || !f.waitForLink() || !f.window().Connected) {
        state.SkipWithError("not connected to a simulated register");
        return;
    }
    app::MainWindow& window = f.window();
    ScriptedDialogs& dialogs = f.dialogs();
    window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(9);
    window.findChild<QPushButton*>("Button18")->click();
    window.findChild<QCheckBox*>("CheckBox3")->setChecked(true);
    double stall = 0;
    for (auto _ : state) {
        StallWatch watch;
        window.findChild<QPushButton*>("Button19")->click();
        // Waits in the event loop, as the window does, not in a busy loop
        // that would take the processor from the download.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!window.isLinkBusy()) loop.quit();
        });
        poll.start(5);
        loop.exec();
        QCoreApplication::processEvents();
        stall = watch.longestMs();
    }
    if (dialogs.messages().size() != 1 || dialogs.messages()[0].text != "Успешно!")
        state.SkipWithError("the download did not finish");
    state.counters["longest_stall_ms"] = stall;
    state.SetItemsProcessed(state.iterations() * kArticles);
}
BENCHMARK(BM_ArticleReportThroughTheWindow)
    ->UseRealTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
