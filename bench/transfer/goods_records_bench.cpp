#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "transfer/table_record.h"

namespace {

using namespace tabulon;

constexpr int kGoods = 10000;

// A full goods table as a shop would have it: Cyrillic names, prices and
// quantities to reformat, barcodes to cut.
std::vector<QStringList> goodsRows() {
    std::vector<QStringList> rows;
    rows.reserve(kGoods);
    for (int i = 1; i <= kGoods; ++i) {
        rows.push_back({QString::number(i), QStringLiteral("Товар номер %1 весовой").arg(i),
                        QStringLiteral("%1.%2").arg(i % 5000).arg(i % 100),
                        QStringLiteral("%1.5").arg(i % 300), "1", "2", "1", "0", "0",
                        QStringLiteral("48200000%1").arg(i, 7, 10, QChar(u'0'))});
    }
    return rows;
}

void BuildGoodsTable(benchmark::State& state) {
    const std::vector<QStringList> rows = goodsRows();
    for (auto _ : state) {
        for (int i = 0; i < kGoods; ++i) {
            BuiltRecord record =
                BuildTableRecord(TableKind::Goods, rows[i], Model::DatecsMp550T, {i + 1, i + 1});
            benchmark::DoNotOptimize(record);
        }
    }
    state.SetItemsProcessed(state.iterations() * kGoods);
}
BENCHMARK(BuildGoodsTable)->Unit(benchmark::kMillisecond);

void ParseGoodsTable(benchmark::State& state) {
    std::vector<QByteArray> replies;
    replies.reserve(kGoods);
    for (const QStringList& row : goodsRows()) {
        BuiltRecord record = BuildTableRecord(TableKind::Goods, row, Model::DatecsMp550T, {1, 1});
        replies.push_back("0;1;" + record.text);
    }
    for (auto _ : state) {
        for (const QByteArray& reply : replies) {
            TableReply parsed = ParseTableRecord(TableKind::Goods, reply);
            benchmark::DoNotOptimize(parsed);
        }
    }
    state.SetItemsProcessed(state.iterations() * kGoods);
}
BENCHMARK(ParseGoodsTable)->Unit(benchmark::kMillisecond);

}  // namespace
