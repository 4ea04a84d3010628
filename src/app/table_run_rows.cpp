// "Сравнить с ЭККА" and "Записывать:": what a grid knows of the register's
// records, how a comparison learns it, and the rows a write sends by it.

#include <QComboBox>
#include <QPushButton>
#include <QSet>

#include "app/grid_view.h"
#include "app/page_host.h"
#include "app/register_session.h"
#include "app/table_runs.h"
#include "app/window_run_progress.h"
#include "app/write_rows.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "transfer/row_snapshot.h"
#include "transfer/table_comparison.h"

namespace tabulon::app {

using transfer::Direction;

bool TableRuns::chooseRows(transfer::RunPlan& plan, int tab) {
    Dialogs& dialogs = host_.dialogs();
    const QString table = tabCaptions().value(tab);
    GridView& grid = *view(plan.kind);
    // A cell being typed into is an edit like the others.
    grid.setEditing(false);
    grid.setEditing(true);
    const ChosenRows chosen = chosenRows(WriteRows(controls_.writeRows->currentIndex()),
                                         grid.gridModel()->marks(), plan, table);
    if (!chosen.rows) {
        dialogs.message(chosen.unknown, messageCaption(), MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    if (chosen.rows->isEmpty()) {
        dialogs.message(noRowsToWriteMessage(table), messageCaption(), MessageIcon::None,
                        MessageButtons::Ok);
        return false;
    }
    if (dialogs.message(chosenRowsQuestion(table, chosen.rows->size(), plan.rowCount()),
                        messageCaption(), MessageIcon::Warning,
                        MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    plan.onlyRows = chosen.rows;
    // The bar fills with the rows sent, not with the table's.
    plan.progressMaximum = plan.rowCount();
    plan.progressStart = 0;
    return true;
}

void TableRuns::settleRun(const transfer::RunPlan& plan, const transfer::RunOutcome& outcome) {
    GridModel& grid = *view(plan.kind)->gridModel();
    if (plan.direction == Direction::Clear) {
        grid.settleMarks([](RowMarks& marks) { marks.registerChanged(); });
        return;
    }
    // Whole, the table in the grid is what the register holds now.
    std::optional<QList<int>> rows;
    if (!runWholeTable_ || outcome.stopped || !outcome.failedRecords.isEmpty() || outcome.refusal ||
        plan.onlyRows) {
        if (plan.direction == Direction::Read) {
            rows = runReadRows_;
        } else {
            const QSet<int> failed(outcome.failedRecords.begin(), outcome.failedRecords.end());
            rows.emplace();
            for (int row = plan.firstRow; row <= runLastRow_; ++row)
                if (plan.visits(row) && !failed.contains(plan.recordOf(row))) *rows << row;
        }
    }
    grid.settleMarks([&](RowMarks& marks) { marks.transferred(rows, runStamp_); });
}

void TableRuns::ButtonCompareClick() {
    scrollGridsToTop();
    RegisterSession& session = host_.session();
    if (host_.linkConnection().registerNumber <= 0) {
        host_.dialogs().message(QStringLiteral("ЭККА не подключен"), messageCaption(),
                                MessageIcon::None, MessageButtons::Ok);
        return;
    }
    const int tab = host_.activeTab();
    if (!isGridTab(tab)) return;
    const TableKind kind = tableKindOfTab(tab);
    session.setJobTable(tabCaptions().value(tab));
    session.control().stopRequested = false;
    session.control().resetRequested = false;
    // The records the write would send are the ones compared.
    const std::optional<transfer::RunPlan> planned = planRun(Direction::Write, kind);
    if (!planned) return;
    const transfer::RunPlan plan = *planned;

    view(kind)->setEditing(false);  // a cell being typed into goes in first
    auto snapshot = std::make_shared<transfer::RowSnapshot>(*view(kind)->gridModel(), kind,
                                                            plan.firstRow, plan.lastRow);
    runStamp_ = view(kind)->gridModel()->marks().stamp();
    beginRun(plan, snapshot);

    const transfer::Connection connection = host_.linkConnection();
    auto progress = std::make_shared<WindowRunProgress>(
        session, [this, plan](const WindowRunProgress::Batch& batch) {
            if (batch.records > 0)
                showRunProgress(plan, batch.counter, batch.row, batch.records, batch.elapsed);
        });
    session.post([this, &session, plan, connection, snapshot, progress](link::RegisterLink& link) {
        transfer::RunParts parts{link,           connection,     session, session.control(),
                                 progress.get(), snapshot.get(), nullptr};
        const transfer::ComparisonOutcome outcome = transfer::compareTable(plan, parts);
        session.toWindow([this, plan, outcome] { endComparison(plan, outcome); });
    });
}

void TableRuns::endComparison(const transfer::RunPlan& plan,
                              const transfer::ComparisonOutcome& outcome) {
    Dialogs& dialogs = host_.dialogs();
    if (outcome.refusal) {
        dialogs.message(outcome.refusal->message, messageCaption(), MessageIcon::Stop,
                        MessageButtons::Ok);
    } else {
        QHash<int, QList<RegisterCell>> differing;
        for (const transfer::RowDifference& row : outcome.differing) {
            QList<RegisterCell>& cells = differing[row.row];
            for (const transfer::FieldDifference& field : row.differences.fields)
                cells << RegisterCell{field.column, field.theirs};
        }
        const QSet<int> unread(outcome.unreadRows.begin(), outcome.unreadRows.end());
        QList<int> read;
        for (int row = plan.firstRow; row <= plan.lastRow; ++row)
            if (plan.visits(row) && !unread.contains(row)) read << row;
        view(plan.kind)->gridModel()->settleMarks([&](RowMarks& marks) {
            marks.compared(read, differing, outcome.unreadRows, runStamp_);
        });
        dialogs.message(transfer::comparisonEndMessage(outcome), messageCaption(),
                        MessageIcon::None, MessageButtons::Ok);
    }
    closeRun(plan);
}

}  // namespace tabulon::app
