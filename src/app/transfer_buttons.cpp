// "Записать в ЭККА", "Прочитать из ЭККА", "Очистить", "Очистить таблицу" and
// "Стоп": the window gathers what a run needs, hands it to the link's thread
// and shows its progress and outcome. The runs themselves are the transfer
// folder's.

#include <QCheckBox>
#include <QLineEdit>
#include <QMutex>
#include <QProgressBar>
#include <QPushButton>

#include "app/controls.h"
#include "app/grid_view.h"
#include "app/main_window.h"
#include "app/progress_text.h"
#include "app/register_session.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "transfer/grid_rows.h"
#include "transfer/parameter_record.h"
#include "transfer/progress_estimate.h"
#include "transfer/row_snapshot.h"
#include "transfer/run_end_message.h"
#include "transfer/table_run.h"
#include "ui_main_window.h"

namespace tabulon::app {

namespace {

using transfer::Direction;

const QString kTitle = messageCaption();

// What a run reports, gathered on the link's thread and handed to the window
// in batches: one delivery waits in the window's queue at most, so a run that
// is faster than the window can draw never buries the window's own events.
class WindowRunProgress final : public transfer::RunProgress,
                                public transfer::RowSink,
                                public std::enable_shared_from_this<WindowRunProgress> {
public:
    struct Batch {
        QList<std::pair<int, TableReply>> rows;
        int records = 0;  // records dealt with since the last batch
        int counter = 0;  // the last of them
        int row = 0;
        std::chrono::nanoseconds elapsed{0};  // since the run began, at the last of them
    };
    using Deliver = std::function<void(const Batch&)>;

    // The run's time counts from here, on the window's thread, before the
    // run is handed to the link.
    WindowRunProgress(RegisterSession& session, Deliver deliver)
        : session_(session), deliver_(std::move(deliver)), timer_(startedTimer(session)) {}

    void recordDone(int counter, int row) override {
        const QMutexLocker lock(&mutex_);
        ++pending_.records;
        pending_.counter = counter;
        pending_.row = row;
        // Taken as the record ends, not when the window gets round to it.
        pending_.elapsed = timer_->elapsed();
        schedule();
    }
    void putRow(int row, const TableReply& reply) override {
        const QMutexLocker lock(&mutex_);
        pending_.rows.append({row, reply});
        schedule();
    }

private:
    void schedule() {
        if (scheduled_) return;
        scheduled_ = true;
        session_.toWindow([self = shared_from_this()] {
            Batch batch;
            {
                const QMutexLocker lock(&self->mutex_);
                batch = std::exchange(self->pending_, Batch());
                self->scheduled_ = false;
            }
            self->deliver_(batch);
        });
    }

    RegisterSession& session_;
    Deliver deliver_;
    QMutex mutex_;
    Batch pending_;
    bool scheduled_ = false;
    std::shared_ptr<transfer::ProgressTimer> timer_;
};

}  // namespace

void MainWindow::Button4Click() {
    startTransfer(Direction::Write);
}

void MainWindow::Button9Click() {
    startTransfer(Direction::Read);
}

void MainWindow::Button8Click() {
    startTransfer(Direction::Clear);
}

void MainWindow::Button6Click() {
    // The run sends the release sequence between its current record and the
    // next, never inside an exchange.
    session_->control().requestStop();
}

void MainWindow::Button16Click() {
    scrollGridsToTop();
    const int tab = activeTab();
    if (!isGridTab(tab)) return;
    GridModel& model = *grids_[tab];
    {
        GridModel::BulkUpdate bulk(model);
        for (int row = 1; row < model.gridRows(); ++row)
            for (int column = 0; column < model.gridColumns(); ++column)
                model.setCell(row, column, QString());
    }
    setEdited(tab, true);
    // A write of this grid in progress goes on with the emptied rows.
    if (runSnapshot_ && runKind_ == tableKindOfTab(tab)) runSnapshot_->clear();
    repaint();
}

void MainWindow::scrollGridsToTop() {
    for (GridView* view : views_) view->scrollToTop();
}

void MainWindow::startTransfer(Direction direction) {
    scrollGridsToTop();
    if (RegisterNumber <= 0) {
        // Closing the window here, as older programs did, would throw away
        // every unsaved edit; the message is enough.
        dialogs_->message(QStringLiteral("ЭККА не подключен"), kTitle, MessageIcon::None,
                          MessageButtons::Ok);
        return;
    }
    const int tab = activeTab();
    // What the error dialog names, should a record fail.
    session_->setJobTable(tabCaptions().value(tab));
    if (isParameterTab(tab) && direction != Direction::Clear) {
        transferParameters(direction, parameterSetOfTab(tab));
        return;
    }
    // The logo and reports tabs have no table here.
    if (!isGridTab(tab)) return;
    const TableKind kind = tableKindOfTab(tab);

    if (direction != Direction::Read) {
        const QString question =
            QStringLiteral("Таблица \"%1\"  в ЭККА будет перезаписана. Продолжить ?")
                .arg(tabCaptions().value(tab));
        if (dialogs_->message(question, kTitle, MessageIcon::Warning, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return;
    }
    session_->control().stopRequested = false;
    session_->control().resetRequested = false;

    std::optional<transfer::IntervalTexts> interval;
    if (direction != Direction::Clear && ui->CheckBox1->isChecked())
        interval = transfer::IntervalTexts{ui->Edit2->text(), ui->Edit3->text(), ui->Edit4->text()};
    const transfer::PlanResult planned =
        transfer::planTableRun(direction, kind, selectedModel(), interval);
    if (!planned.plan) {
        const bool badBounds = planned.error == transfer::badIntervalMessage();
        dialogs_->message(planned.error, kTitle, badBounds ? MessageIcon::None : MessageIcon::Stop,
                          MessageButtons::Ok);
        return;
    }
    const transfer::RunPlan plan = *planned.plan;
    // Rows outside a coding interval stay as the user left them.
    runWholeTable_ = !interval;
    runEditsAtStart_ = editsOf(tab);

    std::shared_ptr<transfer::RowSnapshot> snapshot;
    if (direction == Direction::Write) {
        views_[tab]->setEditing(false);  // a cell being typed into goes in first
        // The run makes every row into its record before it sends the first
        // one: a price that is no number never leaves half a table written.
        snapshot = std::make_shared<transfer::RowSnapshot>(*grids_[tab], kind, plan.firstRow,
                                                           plan.lastRow);
    }
    beginRun(plan, snapshot);

    const transfer::Connection connection = linkConnection();
    auto progress = std::make_shared<WindowRunProgress>(
        *session_, [this, plan, kind](const WindowRunProgress::Batch& batch) {
            for (const auto& [row, reply] : batch.rows) fillRow(*grid(kind), row, reply);
            if (batch.records > 0)
                showRunProgress(plan, batch.counter, batch.row, batch.records, batch.elapsed);
        });
    session_->post([this, plan, connection, snapshot, progress](link::RegisterLink& link) {
        transfer::RunParts parts{link,           connection,     *session_,     session_->control(),
                                 progress.get(), snapshot.get(), progress.get()};
        const transfer::RunOutcome outcome = transfer::runTable(plan, parts);
        session_->toWindow([this, plan, outcome] { endRun(plan, outcome); });
    });
}

transfer::Connection MainWindow::linkConnection() const {
    if (openedPort_) return {RegisterNumber, openedPort_->port, openedPort_->speed};
    // No connect has opened a port: the boxes are all there is to go by.
    return {RegisterNumber, ui->ComboBox1->currentIndex() + 1,
            ui->ComboBox2->currentText().toInt()};
}

void MainWindow::beginRun(const transfer::RunPlan& plan,
                          std::shared_ptr<transfer::RowSnapshot> snapshot) {
    runKind_ = plan.kind;
    runSnapshot_ = std::move(snapshot);
    views_[static_cast<int>(plan.kind)]->setEditing(false);
    setJob(LinkJob::TableRun);
    // A run of one row has nothing to count up to; a range of 0..0 would
    // show the bar as busy for good.
    ui->ProgressBar1->setRange(0, std::max(1, plan.progressMaximum));
    runDone_ = 0;
    showProgress(*ui->ProgressBar1, plan.progressStart, 0, plan.rowCount(), {});
}

void MainWindow::showRunProgress(const transfer::RunPlan& plan, int counter, int row, int records,
                                 std::chrono::nanoseconds elapsed) {
    // The goods grid follows a read whatever table it is; a write scrolls
    // its own grid; a clear leaves the grids where they are.
    if (plan.direction != Direction::Clear && row > 5) {
        GridView* view =
            plan.direction == Direction::Read ? views_[0] : views_[static_cast<int>(plan.kind)];
        view->scrollTo(view->model()->index(row - 6, 0), QAbstractItemView::PositionAtTop);
    }
    ui->Edit1->setText(QStringLiteral("%1").arg(counter, 5, 10, QLatin1Char('0')));
    runDone_ += records;
    QProgressBar* bar = ui->ProgressBar1;
    showProgress(*bar, bar->value() + records, runDone_, plan.rowCount(), elapsed);
}

void MainWindow::endRun(const transfer::RunPlan& plan, const transfer::RunOutcome& outcome) {
    // A row that makes no record stopped the run before anything was sent.
    if (outcome.refusal && outcome.done == 0 && outcome.failedRecords.isEmpty()) {
        dialogs_->message(*outcome.refusal, kTitle, MessageIcon::Stop, MessageButtons::Ok);
    } else {
        if (outcome.refusal)
            dialogs_->message(*outcome.refusal, kTitle, MessageIcon::Stop, MessageButtons::Ok);
        dialogs_->message(transfer::runEndMessage(plan.direction, outcome), kTitle,
                          MessageIcon::None, MessageButtons::Ok);
    }
    // Whole, the table in the grid is what the register holds now.
    if (plan.direction != Direction::Clear && runWholeTable_ && !outcome.stopped &&
        outcome.failedRecords.isEmpty() && !outcome.refusal && !plan.onlyRows)
        setTransferred(static_cast<int>(plan.kind), runEditsAtStart_);
    ui->Edit1->clear();
    session_->control().stopRequested = false;
    session_->control().resetRequested = false;
    views_[static_cast<int>(plan.kind)]->setEditing(true);
    runSnapshot_.reset();
    // The tab may have changed meanwhile: the transfer buttons follow it now.
    setJob(LinkJob::None);
    endProgress(*ui->ProgressBar1);
    GridView* scrolled =
        plan.direction == Direction::Read ? views_[0] : views_[static_cast<int>(plan.kind)];
    scrolled->scrollToTop();
}

void MainWindow::transferParameters(Direction direction, ParameterSet set) {
    const Model model = selectedModel();
    QByteArray record;
    if (direction == Direction::Write) {
        const BuiltRecord built = BuildParameterRecord(set, parameterValues_, model);
        if (!built.ok()) {
            dialogs_->message(built.error->message, kTitle, MessageIcon::Stop, MessageButtons::Ok);
            return;
        }
        record = built.text;
    } else {
        session_->control().stopRequested = false;
    }
    // The window stays usable meanwhile, so no other transfer may start.
    setJob(LinkJob::ParameterTransfer);

    const transfer::Connection connection = linkConnection();
    const int editsAtStart = editsOf(static_cast<int>(set));
    session_->post([this, direction, set, model, record, connection,
                    editsAtStart](link::RegisterLink& link) {
        transfer::RunParts parts{link, connection, *session_, session_->control()};
        if (direction == Direction::Write) {
            const transfer::RecordOutcome outcome = transfer::writeParameters(set, record, parts);
            session_->toWindow([this, set, outcome, editsAtStart] {
                endParameterWrite(set, outcome, editsAtStart);
            });
        } else {
            const std::optional<QByteArray> reply = transfer::readParameters(set, parts);
            session_->toWindow([this, set, model, reply] { endParameterRead(set, model, reply); });
        }
    });
}

void MainWindow::endParameterWrite(ParameterSet set, transfer::RecordOutcome outcome,
                                   int editsAtStart) {
    setJob(LinkJob::None);
    if (outcome == transfer::RecordOutcome::Done) {
        setTransferred(static_cast<int>(set), editsAtStart);
        dialogs_->message(QStringLiteral("Операция завершена успешно!"), kTitle, MessageIcon::None,
                          MessageButtons::Ok);
    }
}

void MainWindow::endParameterRead(ParameterSet set, Model model,
                                  const std::optional<QByteArray>& reply) {
    setJob(LinkJob::None);
    if (!reply) return;
    ParseParameterRecord(set, *reply, model, parameterValues_);
    setEdited(static_cast<int>(set), false);
    repaint();
    ui->ProgressBar1->setValue(0);
    dialogs_->message(QStringLiteral("Операция завершена успешно!"), kTitle, MessageIcon::None,
                      MessageButtons::Ok);
}

}  // namespace tabulon::app
