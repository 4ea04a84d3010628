#pragma once

#include <QObject>
#include <array>
#include <chrono>
#include <memory>
#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "transfer/run_plan.h"
#include "transfer/transfer_record.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace tabulon {
class ParameterValues;
}

namespace tabulon::transfer {
class RowSnapshot;
struct ComparisonOutcome;
struct RunOutcome;
}  // namespace tabulon::transfer

namespace tabulon::app {

class GridView;
class PageHost;
class TableEdits;

// The main window's controls the table runs work with.
struct RunControls {
    QPushButton* write = nullptr;      // Button4 "Записать в ЭККА"
    QPushButton* read = nullptr;       // Button9 "Прочитать из ЭККА"
    QPushButton* clear = nullptr;      // Button8 "Очистить"
    QPushButton* stop = nullptr;       // Button6 "Стоп"
    QPushButton* clearGrid = nullptr;  // Button16 "Очистить таблицу"
    // The coding interval: whether it is used, and its three fields.
    QCheckBox* useInterval = nullptr;
    QLineEdit* intervalStart = nullptr;
    QLineEdit* intervalEnd = nullptr;
    QLineEdit* firstRecord = nullptr;
    QLineEdit* counter = nullptr;  // the record in hand
    QProgressBar* progress = nullptr;
    std::array<GridView*, kGridTableCount> views{};
    QPushButton* compare = nullptr;  // ButtonCompare "Сравнить с ЭККА"
    QComboBox* writeRows = nullptr;  // ComboBoxWriteRows "Записывать:"
};

// "Записать в ЭККА", "Прочитать из ЭККА", "Очистить", "Очистить таблицу" and
// "Стоп": gathers what a table run or a parameter transfer needs from the
// window, hands it to the link's thread and shows its progress and outcome.
// The runs themselves are the transfer folder's. Rows go to the link as
// values and come back as values; the grids are touched here only.
class TableRuns : public QObject {
    Q_OBJECT
public:
    TableRuns(PageHost& host, const RunControls& controls, TableEdits& edits,
              ParameterValues& parameters, QWidget* window);
    ~TableRuns() override;

    // Handlers, named after their control and event.
    void Button4Click();
    void Button9Click();
    void Button8Click();
    void Button6Click();
    void Button16Click();
    void ButtonCompareClick();

private:
    void scrollGridsToTop();
    void startTransfer(transfer::Direction direction);
    void beginRun(const transfer::RunPlan& plan, std::shared_ptr<transfer::RowSnapshot> snapshot);
    void showRunProgress(const transfer::RunPlan& plan, int counter, int row, int records,
                         std::chrono::nanoseconds elapsed);
    void endRun(const transfer::RunPlan& plan, const transfer::RunOutcome& outcome);
    GridView* view(TableKind kind) const { return controls_.views[static_cast<int>(kind)]; }
    // The run's plan from the tab and the coding interval, or nullopt once
    // the user has been told why there is none.
    std::optional<transfer::RunPlan> planRun(transfer::Direction direction, TableKind kind);
    // What the rest of the window returns to after any table run.
    void closeRun(const transfer::RunPlan& plan);

    // Writing the chosen rows only: false when nothing is to be sent (the
    // user has been told why, or said no).
    bool chooseRows(transfer::RunPlan& plan, int tab);
    // The rows a run read or wrote hold what the register holds now.
    void settleRun(const transfer::RunPlan& plan, const transfer::RunOutcome& outcome);
    void endComparison(const transfer::RunPlan& plan, const transfer::ComparisonOutcome& outcome);

    // The parameter tabs' records, written and read whole.
    void transferParameters(transfer::Direction direction, ParameterSet set);
    void endParameterWrite(ParameterSet set, transfer::RecordOutcome outcome, int editsAtStart);
    void endParameterRead(ParameterSet set, Model model, const std::optional<QByteArray>& reply);

    PageHost& host_;
    RunControls controls_;
    TableEdits& edits_;
    ParameterValues& parameters_;
    QWidget* window_;
    TableKind runKind_ = TableKind::Goods;
    int runDone_ = 0;  // records the run in hand has dealt with
    bool runWholeTable_ = false;
    quint64 runStamp_ = 0;  // the run's grid's changes, as the run began
    int runLastRow_ = 0;    // the last row the run in hand has dealt with
    QList<int> runReadRows_;
    std::shared_ptr<transfer::RowSnapshot> runSnapshot_;
};

}  // namespace tabulon::app
