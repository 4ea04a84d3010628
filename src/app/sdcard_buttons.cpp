// "Запись SD карты (Neon)" and "Чтение SD карты (Neon)": the goods grid as
// the card's goods file, and the window with the card's sales.

#include <QProgressBar>
#include <QPushButton>

#include "app/main_window.h"
#include "app/window_font.h"
#include "dialogs/dialogs.h"
#include "sdcard/sales_window.h"
#include "sdcard/sdcard_commands.h"
#include "ui_main_window.h"

namespace tabulon::app {

void MainWindow::buildSdCard() {
    // Made once with the window, so that what it shows stays between openings.
    sales_ = new sdcard::SalesWindow(*dialogs_, this);
    sales_->setFont(windowFont());
    connect(ui->Button14, &QPushButton::clicked, this, &MainWindow::Button14Click);
    connect(ui->Button15, &QPushButton::clicked, this, &MainWindow::Button15Click);
}

void MainWindow::Button14Click() {
    dialogs_->showModal(*sales_);
}

void MainWindow::Button15Click() {
    QProgressBar* progress = ui->ProgressBar1;
    sdcard::writeGoodsFileCommand(
        {*grid(TableKind::Goods),
         *dialogs_,
         {[progress] { progress->setValue(0); }, [this] { stepProgress(); }, {}},
         {}});
}

}  // namespace tabulon::app
