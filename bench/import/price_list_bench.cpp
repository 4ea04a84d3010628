// A price list of 10000 goods as "CSV UTF-8" from a spreadsheet, read into
// the goods grid through a real file, beside the same table from its own
// article file.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "files/table_file_reader.h"
#include "import/import_plan.h"
#include "text/cp1251.h"

namespace tabulon::import {
namespace {

constexpr int kGoods = 10000;

QString goodsName(int code) {
    return QStringLiteral("Товар номер %1").arg(code);
}

// Prices with a decimal comma and grouped thousands, as Excel writes them in
// a Russian locale.
QByteArray priceList() {
    QString text = QStringLiteral(
        "Артикул;Наименование;Цена продажи;Остаток;Отдел;Группа;НДС;Тип;КНЛ;Штрихкод\r\n");
    for (int code = 1; code <= kGoods; ++code) {
        text += QStringLiteral("%1;%2;\"1 2%3,50\";100,000;1;2;1;0;0;48200000%4\r\n")
                    .arg(code)
                    .arg(goodsName(code))
                    .arg(code % 100, 2, 10, QChar(u'0'))
                    .arg(code, 5, 10, QChar(u'0'));
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QByteArray articleFile() {
    QByteArray bytes;
    for (int code = 1; code <= kGoods; ++code) {
        bytes += *text::toCp1251(QStringLiteral("%1;%2;12.50;100.000;1;2;1;0;0;48200000%3;\r\n")
                                     .arg(code)
                                     .arg(goodsName(code))
                                     .arg(code, 5, 10, QChar(u'0')));
    }
    return bytes;
}

QString fileOf(const QTemporaryDir& directory, const QString& name, const QByteArray& bytes) {
    QFile file(directory.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return file.fileName();
}

void BM_ImportPriceList(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = fileOf(directory, "prices.csv", priceList());
    GridModel grid(gridShape(TableKind::Goods).columns, gridShape(TableKind::Goods).rows);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("open failed");
        const ImportPlan plan =
            planImport(file.readAll(), TableKind::Goods, Model::DatecsMp550T, {}, grid);
        if (plan.refused() || plan.imported.size() != kGoods) state.SkipWithError("refused");
        applyImport(plan, grid);
    }
}
BENCHMARK(BM_ImportPriceList)->Unit(benchmark::kMillisecond);

void BM_LoadArticleFileOfTheSameGoods(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = fileOf(directory, "goods.art", articleFile());
    GridModel grid(gridShape(TableKind::Goods).columns, gridShape(TableKind::Goods).rows);
    const files::GridFileLayout layout =
        files::gridFileLayout(TableKind::Goods, Model::DatecsMp550T);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("open failed");
        const files::ReadResult result = files::readGridTable(file, grid, layout);
        if (result.linesStored != kGoods) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadArticleFileOfTheSameGoods)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon::import
