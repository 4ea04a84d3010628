// Loading and saving a full article file (10000 lines) into and out of the
// goods grid, through a real file in a temporary directory.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "files/table_file_reader.h"
#include "files/table_file_writer.h"

namespace tabulon::files {
namespace {

std::unique_ptr<GridModel> fullGoodsGrid() {
    const GridShape& shape = gridShape(TableKind::Goods);
    auto grid = std::make_unique<GridModel>(shape.columns, shape.rows);
    for (int row = 1; row < shape.rows; ++row) {
        const QString n = QString::number(row);
        const QStringList values{n,       "Товар номер " + n,
                                 "12.50", "100.000",
                                 "1",     "2",
                                 "1",     "0",
                                 "0",     "48200000" + n.rightJustified(5, '0')};
        for (int column = 1; column <= values.size(); ++column)
            grid->setCell(row, column, values[column - 1]);
    }
    return grid;
}

const GridFileLayout kLayout = gridFileLayout(TableKind::Goods, Model::DatecsMp550T);

bool saveGrid(const GridModel& grid, const QString& path, int* steps) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (writeGridTable(grid, kLayout, file, [steps] { ++*steps; }) != WriteOutcome::Complete)
        return false;
    return file.commit();
}

void BM_SaveArticleFile(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = directory.filePath("goods.art");
    const auto grid = fullGoodsGrid();
    int steps = 0;
    for (auto _ : state) {
        if (!saveGrid(*grid, path, &steps)) state.SkipWithError("save failed");
    }
    benchmark::DoNotOptimize(steps);
}
BENCHMARK(BM_SaveArticleFile)->Unit(benchmark::kMillisecond);

void BM_LoadArticleFile(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = directory.filePath("goods.art");
    int steps = 0;
    if (!saveGrid(*fullGoodsGrid(), path, &steps)) state.SkipWithError("no file to load");
    GridModel grid(gridShape(TableKind::Goods).columns, gridShape(TableKind::Goods).rows);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("open failed");
        const ReadResult result = readGridTable(file, grid, kLayout, [&steps] { ++steps; });
        if (result.outcome != ReadOutcome::Complete) state.SkipWithError("load failed");
    }
    benchmark::DoNotOptimize(steps);
}
BENCHMARK(BM_LoadArticleFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon::files
