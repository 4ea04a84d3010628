#pragma once

#include <QDialog>
#include <memory>

#include "sdcard/sales_layout.h"
#include "sdcard/sdcard_commands.h"

namespace Ui {
class SalesWindow;
}

namespace tabulon {
class Dialogs;
class GridModel;
}  // namespace tabulon

namespace tabulon::sdcard {

// "База продаж SD-карты": the card's goods and sales files side by side in
// one grid, saved as one file. Created once with the program; opening and
// closing only show and hide it, so the grid keeps what was loaded or typed.
class SalesWindow : public QDialog {
    Q_OBJECT
public:
    // The dialogs are the main window's (not owned).
    explicit SalesWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~SalesWindow() override;

    GridModel& grid() const { return *grid_; }

    // Handlers, named after their control and event.
    void FormActivate();
    void Button1Click();
    void Button3Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setUpGrid();
    void applyColumnWidths(const SalesColumnWidths& widths);
    void pickDirectory();
    // ProgressBar1 as the commands drive it.
    Progress progress();

    std::unique_ptr<Ui::SalesWindow> ui_;
    Dialogs& dialogs_;
    GridModel* grid_;
    QString pickerStart_;
    SalesColumnWidths widths_{};  // by the size rule, before the headers widen them
    QSize requested_;             // by the size rule, not yet given
    int progressPosition_ = 0;    // ahead of the bar by up to nine lines
};

}  // namespace tabulon::sdcard
