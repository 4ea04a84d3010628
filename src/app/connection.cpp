// Connecting to a register and disconnecting: one button whose caption is
// the connection state.

#include "app/controls.h"
#include "app/main_window.h"
#include "dialogs/dialogs.h"
#include "link/register_link.h"
#include "ui_main_window.h"

namespace tabulon::app {

namespace {
const QString kConnect = QStringLiteral("Подключить");
const QString kDisconnect = QStringLiteral("Отключить");
const QColor kRed(255, 0, 0);
const QColor kPurple(128, 0, 128);
const QColor kGreen(0, 128, 0);
}  // namespace

void MainWindow::Button5Click() {
    const int port = ui->ComboBox1->currentIndex() + 1;
    link_->ClosePort(port);
    if (ui->Button5->text() == kDisconnect)
        disconnectRegister();
    else
        connectRegister();
}

void MainWindow::disconnectRegister() {
    ui->Button5->setEnabled(true);
    setTransferButtonsEnabled(false);
    setConnectionBoxesEnabled(true);
    setConnectionState("Не подключена", kRed);
    RegisterNumber = -1;
    ui->Button5->setText(kConnect);
    Connected = false;
    repaint();
}

void MainWindow::connectRegister() {
    const QString speedText = ui->ComboBox2->currentText();
    bool isNumber = false;
    const int speed = speedText.toInt(&isNumber);
    if (!isNumber) {
        dialogs_->message(Dialogs::notAnIntegerText(speedText), "Tabulon", MessageIcon::Stop,
                          MessageButtons::Ok);
        return;
    }
    const int port = ui->ComboBox1->currentIndex() + 1;
    if (const int opened = link_->OpenPort(port, speed); opened < 0) {
        // A refused port number or speed has no system text; the others
        // carry the system's own description of why the device did not open.
        const QString reason = opened == -2
                                   ? QStringLiteral("Скорость %1 бод не поддерживается").arg(speed)
                               : opened == -1 ? QStringLiteral("Порт не выбран")
                                              : link_->openErrorText();
        dialogs_->message(reason, "Ошибка подключения", MessageIcon::Information,
                          MessageButtons::Ok);
        Connected = false;
        return;
    }
    // Detection takes seconds; the state shows before it starts.
    setConnectionState("Порт подключен", kPurple);
    repaint();

    const int registerNumber = ui->ComboBox3->currentIndex() + 1;
    if (link_->DetectRegister(registerNumber) < 0) {
        Connected = false;
        ui->Button5->setEnabled(true);
        setTransferButtonsEnabled(false);
        setConnectionState("Не подключена", kRed);
        dialogs_->message("Касса не обнаружена", "Предупреждение", MessageIcon::Stop,
                          MessageButtons::Ok);
        RegisterNumber = -1;
        return;
    }
    setConnectionState(ui->ComboBox4->currentText() + " подключена", kGreen);
    RegisterNumber = registerNumber;
    ui->Button4->setEnabled(true);
    ui->Button9->setEnabled(true);
    ui->Button8->setEnabled(isGridTab(activeTab()));
    setConnectionBoxesEnabled(false);
    Connected = true;
    ui->Button5->setText(kDisconnect);
}

void MainWindow::setConnectionState(const QString& text, const QColor& color) {
    ui->Label3->setText(text);
    setTextColor(ui->Label3, color);
}

void MainWindow::setConnectionBoxesEnabled(bool enabled) {
    for (QWidget* box : {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4})
        box->setEnabled(enabled);
}

void MainWindow::setTransferButtonsEnabled(bool enabled) {
    for (QWidget* button : {ui->Button4, ui->Button9, ui->Button8}) button->setEnabled(enabled);
}

}  // namespace tabulon::app
