#include "app/table_runs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/grid_view.h"
#include "app/page_host.h"
#include "app/progress_text.h"
#include "app/register_session.h"
#include "app/table_edits.h"
#include "app/window_run_progress.h"
#include "app/write_rows.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "transfer/grid_rows.h"
#include "transfer/row_snapshot.h"
#include "transfer/run_end_message.h"
#include "transfer/table_run.h"

namespace tabulon::app {

namespace {

using transfer::Direction;

}  // namespace

TableRuns::TableRuns(PageHost& host, const RunControls& controls, TableEdits& edits,
                     ParameterValues& parameters, QWidget* window)
    : QObject(window),
      host_(host),
      controls_(controls),
      edits_(edits),
      parameters_(parameters),
      window_(window) {
    connect(controls_.write, &QPushButton::clicked, this, &TableRuns::Button4Click);
    connect(controls_.read, &QPushButton::clicked, this, &TableRuns::Button9Click);
    connect(controls_.clear, &QPushButton::clicked, this, &TableRuns::Button8Click);
    connect(controls_.clearGrid, &QPushButton::clicked, this, &TableRuns::Button16Click);
    connect(controls_.stop, &QPushButton::clicked, this, &TableRuns::Button6Click);
    connect(controls_.compare, &QPushButton::clicked, this, &TableRuns::ButtonCompareClick);
    // "Завершить операцию" also switches editing on again in the goods grid.
    host_.session().onEndChosen([this] { view(TableKind::Goods)->setEditing(true); });
}

TableRuns::~TableRuns() = default;

void TableRuns::Button4Click() {
    startTransfer(Direction::Write);
}

void TableRuns::Button9Click() {
    startTransfer(Direction::Read);
}

void TableRuns::Button8Click() {
    startTransfer(Direction::Clear);
}

void TableRuns::Button6Click() {
    // The run sends the release sequence between its current record and the
    // next, never inside an exchange.
    host_.session().control().requestStop();
}

void TableRuns::Button16Click() {
    scrollGridsToTop();
    const int tab = host_.activeTab();
    if (!isGridTab(tab)) return;
    // The emptied rows count as the user's edits.
    controls_.views[tab]->gridModel()->emptyRows();
    // A write of this grid in progress goes on with the emptied rows.
    if (runSnapshot_ && runKind_ == tableKindOfTab(tab)) runSnapshot_->clear();
    window_->repaint();
}

void TableRuns::scrollGridsToTop() {
    for (GridView* view : controls_.views) view->scrollToTop();
}

void TableRuns::startTransfer(Direction direction) {
    scrollGridsToTop();
    RegisterSession& session = host_.session();
    Dialogs& dialogs = host_.dialogs();
    if (host_.linkConnection().registerNumber <= 0) {
        // Closing the window here, as older programs did, would throw away
        // every unsaved edit; the message is enough.
        dialogs.message(QStringLiteral("ЭККА не подключен"), messageCaption(), MessageIcon::None,
                        MessageButtons::Ok);
        return;
    }
    const int tab = host_.activeTab();
    // What the error dialog names, should a record fail.
    session.setJobTable(tabCaptions().value(tab));
    if (isParameterTab(tab) && direction != Direction::Clear) {
        transferParameters(direction, parameterSetOfTab(tab));
        return;
    }
    // The logo and reports tabs have no table here.
    if (!isGridTab(tab)) return;
    const TableKind kind = tableKindOfTab(tab);
    const auto rowChoice = direction == Direction::Write
                               ? WriteRows(controls_.writeRows->currentIndex())
                               : WriteRows::All;

    if (direction != Direction::Read && rowChoice == WriteRows::All) {
        const QString question =
            QStringLiteral("Таблица \"%1\"  в ЭККА будет перезаписана. Продолжить ?")
                .arg(tabCaptions().value(tab));
        if (dialogs.message(question, messageCaption(), MessageIcon::Warning,
                            MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
    }
    session.control().stopRequested = false;
    session.control().resetRequested = false;

    std::optional<transfer::RunPlan> planned = planRun(direction, kind);
    if (!planned) return;
    if (rowChoice != WriteRows::All && !chooseRows(*planned, tab)) return;
    const transfer::RunPlan plan = *planned;
    runStamp_ = view(kind)->gridModel()->marks().stamp();

    std::shared_ptr<transfer::RowSnapshot> snapshot;
    if (direction == Direction::Write) {
        view(kind)->setEditing(false);  // a cell being typed into goes in first
        // The run makes every row into its record before it sends the first
        // one: a price that is no number never leaves half a table written.
        snapshot = std::make_shared<transfer::RowSnapshot>(*view(kind)->gridModel(), kind,
                                                           plan.firstRow, plan.lastRow);
    }
    beginRun(plan, snapshot);

    const transfer::Connection connection = host_.linkConnection();
    auto progress = std::make_shared<WindowRunProgress>(
        session, [this, plan, kind](const WindowRunProgress::Batch& batch) {
            for (const auto& [row, reply] : batch.rows) {
                fillRow(*view(kind)->gridModel(), row, reply);
                runReadRows_ << row;
            }
            if (batch.records > 0)
                showRunProgress(plan, batch.counter, batch.row, batch.records, batch.elapsed);
        });
    std::shared_ptr<transfer::WriteCheck> check;
    if (direction == Direction::Write) check = session.writeCheck(kind);
    session.post([this, &session, plan, connection, snapshot, progress,
                  check](link::RegisterLink& link) {
        transfer::RunParts parts{link,           connection,     session,        session.control(),
                                 progress.get(), snapshot.get(), progress.get(), check.get()};
        const transfer::RunOutcome outcome = transfer::runTable(plan, parts);
        session.toWindow([this, plan, outcome] { endRun(plan, outcome); });
    });
}

std::optional<transfer::RunPlan> TableRuns::planRun(Direction direction, TableKind kind) {
    std::optional<transfer::IntervalTexts> interval;
    if (direction != Direction::Clear && controls_.useInterval->isChecked())
        interval =
            transfer::IntervalTexts{controls_.intervalStart->text(), controls_.intervalEnd->text(),
                                    controls_.firstRecord->text()};
    const transfer::PlanResult planned =
        transfer::planTableRun(direction, kind, host_.selectedModel(), interval);
    if (!planned.plan) {
        const bool badBounds = planned.error == transfer::badIntervalMessage();
        host_.dialogs().message(planned.error, messageCaption(),
                                badBounds ? MessageIcon::None : MessageIcon::Stop,
                                MessageButtons::Ok);
        return std::nullopt;
    }
    // Rows outside a coding interval stay as the user left them.
    runWholeTable_ = !interval;
    return planned.plan;
}

void TableRuns::beginRun(const transfer::RunPlan& plan,
                         std::shared_ptr<transfer::RowSnapshot> snapshot) {
    runKind_ = plan.kind;
    runLastRow_ = 0;
    runReadRows_.clear();
    runSnapshot_ = std::move(snapshot);
    view(plan.kind)->setEditing(false);
    host_.beginJob(LinkJob::TableRun);
    // A run of one row has nothing to count up to; a range of 0..0 would
    // show the bar as busy for good.
    controls_.progress->setRange(0, std::max(1, plan.progressMaximum));
    runDone_ = 0;
    showProgress(*controls_.progress, plan.progressStart, 0, plan.rowCount(), {});
}

void TableRuns::showRunProgress(const transfer::RunPlan& plan, int counter, int row, int records,
                                std::chrono::nanoseconds elapsed) {
    // The goods grid follows a read whatever table it is; a write scrolls
    // its own grid; a clear leaves the grids where they are.
    if (plan.direction != Direction::Clear && row > 5) {
        GridView* scrolled = view(plan.direction == Direction::Read ? TableKind::Goods : plan.kind);
        scrolled->scrollTo(scrolled->model()->index(row - 6, 0), QAbstractItemView::PositionAtTop);
    }
    runLastRow_ = row;
    controls_.counter->setText(QStringLiteral("%1").arg(counter, 5, 10, QLatin1Char('0')));
    runDone_ += records;
    QProgressBar* bar = controls_.progress;
    showProgress(*bar, bar->value() + records, runDone_, plan.rowCount(), elapsed);
}

void TableRuns::endRun(const transfer::RunPlan& plan, const transfer::RunOutcome& outcome) {
    Dialogs& dialogs = host_.dialogs();
    // A row that makes no record stopped the run before anything was sent.
    if (outcome.refusal && outcome.done == 0 && outcome.failedRecords.isEmpty()) {
        dialogs.message(*outcome.refusal, messageCaption(), MessageIcon::Stop, MessageButtons::Ok);
    } else {
        if (outcome.refusal)
            dialogs.message(*outcome.refusal, messageCaption(), MessageIcon::Stop,
                            MessageButtons::Ok);
        dialogs.message(transfer::runEndMessage(plan.direction, outcome), messageCaption(),
                        MessageIcon::None, MessageButtons::Ok);
    }
    settleRun(plan, outcome);
    closeRun(plan);
}

void TableRuns::closeRun(const transfer::RunPlan& plan) {
    controls_.counter->clear();
    host_.session().control().stopRequested = false;
    host_.session().control().resetRequested = false;
    view(plan.kind)->setEditing(true);
    runSnapshot_.reset();
    // The tab may have changed meanwhile: the transfer buttons follow it now.
    host_.endJob();
    endProgress(*controls_.progress);
    view(plan.direction == Direction::Read ? TableKind::Goods : plan.kind)->scrollToTop();
}

}  // namespace tabulon::app
