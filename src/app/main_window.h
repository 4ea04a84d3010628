#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "app/window_parameter_values.h"
#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "link/register_link.h"

class QTabWidget;

namespace tabulon {
class Dialogs;
class GridModel;
}  // namespace tabulon

namespace tabulon::app {

class AboutBox;
class EntryValidator;

// The one main window: the ten tabs with the tables, the coding interval,
// the connection group and the command buttons. The grids and edit fields
// are the only store of the table data; handlers gather what they need from
// the controls and hand the work to the folder that owns it.
class MainWindow : public QWidget {
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
    Dialogs& dialogs() const { return *dialogs_; }
    link::RegisterLink& registerLink() const { return *link_; }
    bool isInitialised() const { return initialised_; }
    int activeTab() const;

    // Handlers, named after their control and event.
    void FormActivate();
    void Button1Click();
    void Button10Click();
    void PageControl1Change();
    void ComboBox4Change();
    void Button5Click();
    void Button3Click();
    void Button2Click();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void writeFixedCells();
    void showEntryRefusal(const QString& message);
    void applyColumnWidths();
    void disconnectRegister();
    void connectRegister();
    void setConnectionState(const QString& text, const QColor& color);
    void setConnectionBoxesEnabled(bool enabled);
    void setTransferButtonsEnabled(bool enabled);
    Model selectedModel() const;
    void stepProgress();

    Dialogs* dialogs_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<link::RegisterLink> link_;
    EntryValidator* validator_ = nullptr;
    QTabWidget* pages_ = nullptr;
    AboutBox* about_ = nullptr;
    std::array<GridModel*, kGridTableCount> grids_{};
    WindowParameterValues parameterValues_{this};
    bool initialised_ = false;
    bool programTabChange_ = false;
};

}  // namespace tabulon::app
