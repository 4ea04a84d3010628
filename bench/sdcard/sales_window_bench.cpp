// The sales window with a full card: loading "upload.art" and "sales.art"
// into its grid, saving the combined file, and writing the goods file for
// the card. Run under the offscreen platform:
//   QT_QPA_PLATFORM=offscreen sdcard_bench

#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "card_files_support.h"
#include "catalogue/grid_model.h"
#include "sdcard/goods_file.h"
#include "sdcard/sales_window.h"
#include "sdcard/sdcard_commands.h"
#include "support/scripted_dialogs.h"

namespace tabulon::sdcard {
namespace {

// A shown sales window over a directory holding a full card.
struct LoadedWindow {
    LoadedWindow() : window(dialogs) {
        bench::writeFullCard(directory.path());
        window.show();
        window.findChild<QLineEdit*>("DirectoryEdit1")->setText(directory.path());
    }
    void load() { window.findChild<QPushButton*>("Button1")->click(); }

    QTemporaryDir directory;
    ScriptedDialogs dialogs;
    SalesWindow window;
};

void LoadCardIntoSalesWindow(benchmark::State& state) {
    LoadedWindow f;
    for (auto _ : state) f.load();
    if (!f.dialogs.shown.isEmpty() || f.window.grid().cell(10000, 16) != "0.00")
        state.SkipWithError("the card did not load");
}
BENCHMARK(LoadCardIntoSalesWindow)->Unit(benchmark::kMillisecond);

void SaveCombinedSalesFile(benchmark::State& state) {
    LoadedWindow f;
    f.load();
    const QString path = f.directory.filePath("combined.art");
    auto* save = f.window.findChild<QPushButton*>("Button3");
    for (auto _ : state) {
        f.dialogs.fileNames.enqueue(path);
        save->click();
    }
    if (!f.dialogs.messages().isEmpty() || QFile(path).size() < 10000 * 60)
        state.SkipWithError("the file was not saved");
}
BENCHMARK(SaveCombinedSalesFile)->Unit(benchmark::kMillisecond);

void WriteGoodsFileForTheCard(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = directory.filePath("goodbase.art");
    GridModel goods(11, 10001);
    for (int row = 1; row <= 10000; ++row) {
        const QString k = QString::number(row);
        const QStringList values{k,       "Товар номер " + k,
                                 "12.50", "100.000",
                                 "1",     "2",
                                 "1",     "0",
                                 "0",     "48200000" + k.rightJustified(5, '0')};
        for (int column = 1; column <= 10; ++column) goods.setCell(row, column, values[column - 1]);
    }
    ScriptedDialogs dialogs;
    for (auto _ : state) {
        dialogs.fileNames.enqueue(path);
        writeGoodsFileCommand({goods, dialogs, {}, {}});
    }
    if (!dialogs.messages().isEmpty()) state.SkipWithError("the file was not written");
}
BENCHMARK(WriteGoodsFileForTheCard)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon::sdcard
