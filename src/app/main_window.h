#pragma once

#include <QHash>
#include <QWidget>
#include <array>
#include <memory>

#include "app/command_states.h"
#include "app/page_host.h"
#include "app/window_parameter_values.h"
#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "link/register_link.h"

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
struct Connection;
}  // namespace tabulon::transfer

namespace tabulon::sdcard {
class SalesWindow;
}

namespace tabulon::app {

class AboutBox;
class ConnectionGroup;
class EntryRefusals;
class GridView;
class ParameterPage;
class RegisterSession;
class TableEdits;

// The one main window: the ten tabs with the tables, the coding interval,
// the connection group and the command buttons. The fixed controls are the
// form main_window.ui; the grids are made from the catalogue into their tab
// pages; the parameter, logo and reports tabs are pages of their own; the
// connection group and the table runs are parts of their own. The window
// keeps the shared state, the command buttons (commandStates() says which
// are enabled) and the wiring. The grids and edit fields are the only store
// of the table data; handlers gather what they need from the controls and
// hand the work to the folder that owns it.
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
    int activeTab() const override;
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
    void CheckBoxVerifyClick(bool verify);
    void Button1Click();
    void Button10Click();
    void PageControl1Change();
    void ComboBox4Change();
    void Button3Click();
    void Button2Click();
    void Button14Click();
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
    // Sets every command as commandStates() says for the window's state now.
    void applyCommandStates(bool pageWorkEnded = false);
    void setJob(LinkJob job);
    // The window's title for a model caption, with the mark of unsaved edits.
    void setCaption(const QString& caption);
    void stepProgress();

    // What the pages, the table runs and the connection group ask of the
    // window.
    bool linkFree() const override;
    void beginJob(LinkJob job) override;
    void endJob() override;
    void endPageWork() override;
    void connectionChanged() override;
    transfer::Connection linkConnection() const override;
    Model selectedModel() const override;
    QString chosenRegisterText() const override;
    void logoPresent() override;

    std::unique_ptr<Ui::MainWindowForm> ui;
    Dialogs* dialogs_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<Dialogs> folders_;  // over the dialogs above
    std::unique_ptr<RegisterSession> session_;
    EntryRefusals* refusals_ = nullptr;
    TableEdits* edits_ = nullptr;
    ConnectionGroup* connection_ = nullptr;
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
};

}  // namespace tabulon::app
