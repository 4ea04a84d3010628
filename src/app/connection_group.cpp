#include "app/connection_group.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "app/controls.h"
#include "app/page_host.h"
#include "app/register_session.h"
#include "dialogs/dialogs.h"
#include "link/connect_register.h"
#include "link/register_link.h"
#include "ports/port_problem.h"
#include "text/decimal_number.h"

namespace tabulon::app {

namespace {
const QString kConnect = QStringLiteral("Подключить");
const QString kDisconnect = QStringLiteral("Отключить");
const QColor kRed(255, 0, 0);
const QColor kPurple(128, 0, 128);
const QColor kGreen(0, 128, 0);
}  // namespace

ConnectionGroup::ConnectionGroup(PageHost& host, const ConnectionControls& controls,
                                 bool& connected, int& registerNumber, QWidget* window)
    : QObject(window),
      host_(host),
      controls_(controls),
      connected_(connected),
      registerNumber_(registerNumber),
      window_(window) {
    connect(controls_.button, &QPushButton::clicked, this, &ConnectionGroup::Button5Click);
}

void ConnectionGroup::Button5Click() {
    // One job on the link at a time: the button is off while one runs.
    if (!host_.linkFree()) return;
    // The port to let go is the one the link holds: after a connect, the
    // boxes may name another than the one that was opened.
    host_.session().post([](link::RegisterLink& link) { link.ClosePort(link.openPort()); });
    openedPort_.reset();
    if (controls_.button->text() == kDisconnect)
        disconnectRegister();
    else
        connectRegister();
}

void ConnectionGroup::disconnectRegister() {
    connected_ = false;
    host_.connectionChanged();
    setConnectionState("Не подключена", kRed);
    registerNumber_ = -1;
    controls_.button->setText(kConnect);
    window_->repaint();
}

void ConnectionGroup::connectRegister() {
    const QString speedText = controls_.speed->currentText();
    bool isNumber = false;
    const int speed = speedText.toInt(&isNumber);
    if (!isNumber) {
        host_.dialogs().message(text::invalidIntegerMessage(speedText), messageCaption(),
                                MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    const Connecting connecting{controls_.port->currentIndex() + 1, speed,
                                controls_.registerNumber->currentIndex() + 1,
                                controls_.model->currentText()};
    // What the boxes say now is what is being connected: a box changed while
    // the register is looked for would leave the window showing one port and
    // the link holding another.
    host_.beginJob(LinkJob::Connecting);

    // Opening and detecting take seconds on a silent line; they go to the
    // link's thread and the window stays usable meanwhile.
    RegisterSession& session = host_.session();
    session.post([this, &session, connecting](link::RegisterLink& link) {
        // The state shows before detection starts.
        const link::ConnectOutcome outcome = link::connectToRegister(
            link, connecting.port, connecting.speed, connecting.registerNumber, [this, &session] {
                link::askOn<bool>(
                    window_,
                    [this] {
                        setConnectionState("Порт подключен", kPurple);
                        window_->repaint();
                        return true;
                    },
                    session.control().cancelled, false);
            });
        if (outcome.opened < 0) {
            // A device that did not open is told with its name and what to
            // do about it; looking at the device is file work, done here.
            const link::ResultCause why = outcome.openCause;
            const QString error =
                why == link::ResultCause::DeviceDidNotOpen
                    ? ports::portFailureText(ports::linkOpenFailure(link, connecting.port))
                    : link.openErrorText();
            session.toWindow([this, why, speed = connecting.speed, error] {
                showConnectFailure(why, speed, error);
            });
            return;
        }
        session.toWindow(
            [this, connecting, found = outcome.found] { showDetection(found, connecting); });
    });
}

void ConnectionGroup::showConnectFailure(link::ResultCause why, int speed,
                                         const QString& openError) {
    host_.endJob();
    // A refused port number or speed has no system text; the others carry
    // the system's own description of why the device did not open.
    const QString reason = why == link::ResultCause::SpeedNotSupported
                               ? QStringLiteral("Скорость %1 бод не поддерживается").arg(speed)
                           : why == link::ResultCause::PortNumberOutOfRange
                               ? QStringLiteral("Порт не выбран")
                               : openError;
    host_.dialogs().message(reason, "Ошибка подключения", MessageIcon::Information,
                            MessageButtons::Ok);
    connected_ = false;
}

void ConnectionGroup::showDetection(bool found, const Connecting& connecting) {
    // Found or not, the port stays open until the button is pressed again.
    openedPort_ = OpenedPort{connecting.port, connecting.speed};
    connected_ = found;
    host_.endJob();
    if (!found) {
        setConnectionState("Не подключена", kRed);
        host_.dialogs().message("Касса не обнаружена", "Предупреждение", MessageIcon::Stop,
                                MessageButtons::Ok);
        registerNumber_ = -1;
        return;
    }
    setConnectionState(connecting.modelText + " подключена", kGreen);
    registerNumber_ = connecting.registerNumber;
    controls_.button->setText(kDisconnect);
}

transfer::Connection ConnectionGroup::linkConnection() const {
    if (openedPort_) return {registerNumber_, openedPort_->port, openedPort_->speed};
    // No connect has opened a port: the boxes are all there is to go by.
    return {registerNumber_, controls_.port->currentIndex() + 1,
            controls_.speed->currentText().toInt()};
}

void ConnectionGroup::setConnectionState(const QString& text, const QColor& color) {
    controls_.state->setText(text);
    setTextColor(controls_.state, color);
}

}  // namespace tabulon::app
