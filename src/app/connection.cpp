// Connecting to a register and disconnecting: one button whose caption is
// the connection state.

#include "app/controls.h"
#include "app/main_window.h"
#include "app/register_session.h"
#include "dialogs/dialogs.h"
#include "link/connect_register.h"
#include "link/register_link.h"
#include "ports/port_problem.h"
#include "text/decimal_number.h"
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
    // One connect at a time: the button is off while one runs.
    if (job_ == LinkJob::Connecting) return;
    // The port to let go is the one the link holds: after a connect, the
    // boxes may name another than the one that was opened.
    session_->post([](link::RegisterLink& link) { link.ClosePort(link.openPort()); });
    openedPort_.reset();
    if (ui->Button5->text() == kDisconnect)
        disconnectRegister();
    else
        connectRegister();
}

void MainWindow::disconnectRegister() {
    Connected = false;
    applyCommandStates();
    setConnectionState("Не подключена", kRed);
    RegisterNumber = -1;
    ui->Button5->setText(kConnect);
    repaint();
}

void MainWindow::connectRegister() {
    const QString speedText = ui->ComboBox2->currentText();
    bool isNumber = false;
    const int speed = speedText.toInt(&isNumber);
    if (!isNumber) {
        dialogs_->message(text::invalidIntegerMessage(speedText), "Tabulon", MessageIcon::Stop,
                          MessageButtons::Ok);
        return;
    }
    const Connecting connecting{ui->ComboBox1->currentIndex() + 1, speed,
                                ui->ComboBox3->currentIndex() + 1, ui->ComboBox4->currentText()};
    // What the boxes say now is what is being connected: a box changed while
    // the register is looked for would leave the window showing one port and
    // the link holding another.
    setJob(LinkJob::Connecting);

    // Opening and detecting take seconds on a silent line; they go to the
    // link's thread and the window stays usable meanwhile.
    session_->post([this, connecting](link::RegisterLink& link) {
        // The state shows before detection starts.
        const link::ConnectOutcome outcome = link::connectToRegister(
            link, connecting.port, connecting.speed, connecting.registerNumber, [this] {
                link::askOn<bool>(
                    this,
                    [this] {
                        setConnectionState("Порт подключен", kPurple);
                        repaint();
                        return true;
                    },
                    session_->control().cancelled, false);
            });
        if (outcome.opened < 0) {
            // A device that did not open is told with its name and what to
            // do about it; looking at the device is file work, done here.
            const link::ResultCause why = outcome.openCause;
            const QString error =
                why == link::ResultCause::DeviceDidNotOpen
                    ? ports::portFailureText(ports::linkOpenFailure(link, connecting.port))
                    : link.openErrorText();
            session_->toWindow([this, why, speed = connecting.speed, error] {
                showConnectFailure(why, speed, error);
            });
            return;
        }
        session_->toWindow(
            [this, connecting, found = outcome.found] { showDetection(found, connecting); });
    });
}

void MainWindow::showConnectFailure(link::ResultCause why, int speed, const QString& openError) {
    setJob(LinkJob::None);
    // A refused port number or speed has no system text; the others carry
    // the system's own description of why the device did not open.
    const QString reason = why == link::ResultCause::SpeedNotSupported
                               ? QStringLiteral("Скорость %1 бод не поддерживается").arg(speed)
                           : why == link::ResultCause::PortNumberOutOfRange
                               ? QStringLiteral("Порт не выбран")
                               : openError;
    dialogs_->message(reason, "Ошибка подключения", MessageIcon::Information, MessageButtons::Ok);
    Connected = false;
}

void MainWindow::showDetection(bool found, const Connecting& connecting) {
    // Found or not, the port stays open until the button is pressed again.
    openedPort_ = OpenedPort{connecting.port, connecting.speed};
    Connected = found;
    setJob(LinkJob::None);
    if (!found) {
        setConnectionState("Не подключена", kRed);
        dialogs_->message("Касса не обнаружена", "Предупреждение", MessageIcon::Stop,
                          MessageButtons::Ok);
        RegisterNumber = -1;
        return;
    }
    setConnectionState(connecting.modelText + " подключена", kGreen);
    RegisterNumber = connecting.registerNumber;
    ui->Button5->setText(kDisconnect);
}

void MainWindow::setConnectionState(const QString& text, const QColor& color) {
    ui->Label3->setText(text);
    setTextColor(ui->Label3, color);
}

}  // namespace tabulon::app
