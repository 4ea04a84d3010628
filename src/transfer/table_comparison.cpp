#include "transfer/table_comparison.h"

#include <QHash>

#include "transfer/record_list.h"
#include "transfer/row_count.h"

namespace tabulon::transfer {

namespace {

// Takes each record a read run brings and holds it against its row.
class RowComparer final : public RowSink {
public:
    RowComparer(const RunPlan& plan, const RowSource& rows) : plan_(plan), rows_(rows) {}

    void putRow(int row, const TableReply& reply) override {
        const BuiltRecord mine = BuildTableRecord(plan_.kind, rows_.rowCells(row), plan_.model,
                                                  {row, plan_.recordOf(row)});
        // A bad-data reply is not the record: the row counts as not read.
        if (!mine.ok() || reply.badData) return;
        compared_.insert(row, rows_.revision());
        RecordDifferences differences = recordDifferences(plan_.kind, mine.text, reply);
        if (!differences.none())
            differing_ << RowDifference{row, plan_.recordOf(row), std::move(differences)};
    }

    void finish(ComparisonOutcome& outcome) const {
        // A row compared before the rows changed ("Очистить таблицу" in the
        // middle) was compared with what it no longer holds.
        const auto current = [&](int row) {
            const auto at = compared_.find(row);
            return at != compared_.end() && *at == rows_.revision();
        };
        for (const RowDifference& difference : differing_)
            if (current(difference.row)) outcome.differing << difference;
        for (int row = plan_.firstRow; row <= plan_.lastRow; ++row) {
            if (plan_.visits(row) && !current(row)) outcome.unreadRows << row;
        }
    }

private:
    const RunPlan& plan_;
    const RowSource& rows_;
    QHash<int, int> compared_;  // row, and the revision of the rows it was compared at
    QList<RowDifference> differing_;
};

constexpr int kRowsNamed = 10;

}  // namespace

QList<int> ComparisonOutcome::differingRows() const {
    QList<int> rows;
    rows.reserve(differing.size());
    for (const RowDifference& difference : differing) rows << difference.row;
    return rows;
}

ComparisonOutcome compareTable(const RunPlan& plan, RunParts& parts) {
    ComparisonOutcome outcome;
    outcome.rows = plan.rowCount();
    RunPlan reading = plan;
    reading.direction = Direction::Write;
    outcome.refusal = firstRefusedRow(reading, *parts.source);
    if (outcome.refusal) return outcome;
    reading.direction = Direction::Read;
    RowComparer comparer(reading, *parts.source);
    RunParts readParts = parts;
    readParts.sink = &comparer;
    readParts.check = nullptr;
    outcome.run = runTable(reading, readParts);
    comparer.finish(outcome);
    return outcome;
}

QString comparisonEndMessage(const ComparisonOutcome& outcome) {
    const auto named = [](const QList<int>& rows) {
        return recordList(rows, {.ranges = false, .limit = kRowsNamed});
    };
    QStringList lines;
    if (outcome.run.stopped) lines << QStringLiteral("Операция прервана");
    QString differ = QStringLiteral("Отличается %1 из %2")
                         .arg(countedRows(outcome.differing.size()), groupedCount(outcome.rows));
    if (!outcome.differing.isEmpty())
        differ += QStringLiteral(": ") + named(outcome.differingRows());
    lines << differ;
    if (!outcome.unreadRows.isEmpty()) {
        lines << QStringLiteral("Не прочитано %1, для них сравнения нет: %2")
                     .arg(countedRows(outcome.unreadRows.size()), named(outcome.unreadRows));
    }
    return lines.join(u'\n');
}

}  // namespace tabulon::transfer
