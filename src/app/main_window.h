#pragma once

#include <QHash>
#include <QWidget>
#include <array>
#include <chrono>
#include <memory>
#include <optional>

#include "app/command_states.h"
#include "app/page_host.h"
#include "app/window_parameter_values.h"
#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "link/register_link.h"
#include "transfer/run_plan.h"
#include "transfer/table_record.h"
#include "transfer/transfer_record.h"

namespace Ui {
class MainWindowForm;
}

class QLineEdit;

namespace tabulon {
class Dialogs;
class GridModel;
struct FieldPresentation;
}  // namespace tabulon

namespace tabulon::transfer {
class RowSnapshot;
struct RunOutcome;
struct Connection;
}  // namespace tabulon::transfer

namespace tabulon::sdcard {
class SalesWindow;
}

namespace tabulon::app {

class AboutBox;
class EntryRefusals;
class GridView;
class ParameterPage;
class RegisterSession;

// The one main window: the ten tabs with the tables, the coding interval,
// the connection group and the command buttons. The fixed controls are the
// form main_window.ui; the grids are made from the catalogue into their tab
// pages; the parameter, logo and reports tabs are pages of their own. The
// window keeps the shared state, the command buttons (commandStates() says
// which are enabled) and the wiring. The grids and edit fields are the only
// store of the table data; handlers gather what they need from the controls
// and hand the work to the folder that owns it.
class MainWindow : public QWidget, private PageHost {
    Q_OBJECT
public:
    // The dialogs are the window's own on-screen ones unless a test gives
    // its scripted set (not owned).
    // The link is the serial one (COMn mapped through the settings file)
    // unless a test or the demo gives another.
    explicit MainWindow(Dialogs* dialogs = nullptr,
                        std::unique_ptr<link::RegisterLink> link = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shared transfer state.
    int RegisterNumber = 0;
    bool Connected = false;
    bool LogoPresent = false;

    GridModel* grid(TableKind kind) const { return grids_[static_cast<int>(kind)]; }
    ParameterValues& parameterValues() { return parameterValues_; }
    Dialogs& dialogs() const override { return *dialogs_; }
    // The link's thread and what the runs ask through.
    RegisterSession& session() const override { return *session_; }
    // A job on the link (connecting, a run, a transfer) is running or waiting.
    bool isLinkBusy() const;
    bool isInitialised() const { return initialised_; }
    int activeTab() const;
    // Shows a tab from the program: unlike the user's switch, it leaves the
    // buttons as they are.
    void showTab(int tab);

    // Where the link's trace goes, for the About box; empty: no trace.
    void showTraceFile(const QString& path);

    // Handlers, named after their control and event.
    void FormActivate();
    // Lays the window out for an outer size; applied once, when the window
    // is first shown.
    void FormCanResize(int width, int height);
    void Button1Click();
    void Button10Click();
    void PageControl1Change();
    void ComboBox4Change();
    void Button5Click();
    void Button3Click();
    void Button2Click();
    void Button14Click();
    void Button4Click();
    void Button9Click();
    void Button8Click();
    void Button16Click();
    void Button6Click();
    void Button15Click();

protected:
    void changeEvent(QEvent* event) override;
    // "Закрыть", Alt+F4 or the system: asks first when a run or edits would
    // be lost.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildGeneratedControls();
    void connectHandlers();
    void buildSdCard();
    void writeFixedCells();
    void presentField(const FieldPresentation& field);
    void showEntryRefusal(const QString& message);
    void disconnectRegister();
    void connectRegister();
    void setConnectionState(const QString& text, const QColor& color);
    // Sets every command as commandStates() says for the window's state now.
    void applyCommandStates(bool pageWorkEnded = false);
    void setJob(LinkJob job);
    // A table's contents since it was last opened, saved, read or written:
    // changed by the user, or now the same as that file or register again.
    void setEdited(int tab, bool edited);
    // How often a table has been edited since the window opened.
    int editsOf(int tab) const;
    // A table written whole, unless it was edited after `editsAtStart`.
    void setTransferred(int tab, int editsAtStart);
    // The window's title for a model caption, with the mark of unsaved edits.
    void setCaption(const QString& caption);
    void watchEdits();
    void stepProgress();

    // What the logo and reports pages ask of the window.
    bool linkFree() const override;
    void beginPageWork(LinkJob job) override;
    void endPageWork() override;
    transfer::Connection linkConnection() const override;
    Model selectedModel() const override;
    QString chosenRegisterText() const override;
    void logoPresent() override;

    // The table runs and parameter transfers.
    void scrollGridsToTop();
    void startTransfer(transfer::Direction direction);
    void beginRun(const transfer::RunPlan& plan, std::shared_ptr<transfer::RowSnapshot> snapshot);
    void showRunProgress(const transfer::RunPlan& plan, int counter, int row, int records,
                         std::chrono::nanoseconds elapsed);
    void endRun(const transfer::RunPlan& plan, const transfer::RunOutcome& outcome);
    void transferParameters(transfer::Direction direction, ParameterSet set);
    void endParameterWrite(ParameterSet set, transfer::RecordOutcome outcome, int editsAtStart);
    void endParameterRead(ParameterSet set, Model model, const std::optional<QByteArray>& reply);
    // A connect as the boxes said when it began.
    struct Connecting {
        int port = 0;
        int speed = 0;
        int registerNumber = 0;
        QString modelText;
    };
    void showConnectFailure(link::ResultCause why, int speed, const QString& openError);
    void showDetection(bool found, const Connecting& connecting);

    std::unique_ptr<Ui::MainWindowForm> ui;
    Dialogs* dialogs_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<Dialogs> folders_;  // over the dialogs above
    std::unique_ptr<RegisterSession> session_;
    EntryRefusals* refusals_ = nullptr;
    AboutBox* about_ = nullptr;
    sdcard::SalesWindow* sales_ = nullptr;
    std::array<GridModel*, kGridTableCount> grids_{};
    std::array<GridView*, kGridTableCount> views_{};
    std::array<ParameterPage*, 3> parameterPages_{};
    // The fields of the three parameter pages, by object name.
    QHash<QString, QLineEdit*> parameterFields_;
    WindowParameterValues parameterValues_{parameterFields_};
    bool initialised_ = false;
    bool laidOut_ = false;
    bool programTabChange_ = false;
    LinkJob job_ = LinkJob::None;
    // The port the last connect opened and its speed, until the button lets
    // it go: what a run reopens after a skip or before a retry, whatever the
    // boxes show meanwhile.
    struct OpenedPort {
        int port = 0;
        int speed = 0;
    };
    std::optional<OpenedPort> openedPort_;
    TableKind runKind_ = TableKind::Goods;
    int runDone_ = 0;  // records the run in hand has dealt with
    bool runWholeTable_ = false;
    std::array<bool, kLogoTab> edited_{};  // the tabs before the logo hold tables
    std::array<int, kLogoTab> edits_{};
    int runEditsAtStart_ = 0;  // of the run's table, as the run began
    std::shared_ptr<transfer::RowSnapshot> runSnapshot_;
};

}  // namespace tabulon::app
