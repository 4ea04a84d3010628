#include "transfer/table_comparison.h"

#include <QSet>

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
        compared_.insert(row);
        RecordDifferences differences = recordDifferences(plan_.kind, mine.text, reply);
        if (!differences.none())
            differing_ << RowDifference{row, plan_.recordOf(row), std::move(differences)};
    }

    void finish(ComparisonOutcome& outcome) const {
        outcome.differing = differing_;
        for (int row = plan_.firstRow; row <= plan_.lastRow; ++row) {
            if (plan_.visits(row) && !compared_.contains(row)) outcome.unreadRows << row;
        }
    }

private:
    const RunPlan& plan_;
    const RowSource& rows_;
    QSet<int> compared_;
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
