// The logo tab: "Загрузить логотип из файла", "Сохранить логотип в файл",
// "Записать логотип в ЭККА", "Прочитать логотип из ЭККА" and
// "растянуть/сжать". The transfers go to the link's thread; the rows come
// back to the window as values and are drawn here.

#include <QCheckBox>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>

#include "app/logo_box.h"
#include "app/main_window.h"
#include "app/register_session.h"
#include "dialogs/dialogs.h"
#include "logo/dot_row.h"
#include "logo/logo_file.h"
#include "logo/logo_messages.h"
#include "logo/logo_transfer.h"
#include "ui_main_window.h"

namespace tabulon::app {

namespace {

const QString kBmpFilter = QStringLiteral("BMP files (*.BMP)|*.BMP|All files (*.*)|*.*");

FileDialogRequest logoFileRequest(const QString& title) {
    return {title, kBmpFilter, QString(), QDir::currentPath()};
}

}  // namespace

void MainWindow::tell(const QString& text) {
    dialogs_->message(text, logo::logoCaption(), MessageIcon::None, MessageButtons::Ok);
}

void MainWindow::Button7Click() {
    if (linkWorkRunning()) return;
    const std::optional<QString> chosen =
        dialogs_->openFileName(logoFileRequest(QStringLiteral("Загрузка логотипа из BMP-файла")));
    if (!chosen) return;
    const logo::LoadedLogo loaded = logo::loadLogoFile(*chosen);
    if (loaded.picture.isNull()) {
        // The box and LogoPresent stay as they were.
        tell(loaded.error);
        return;
    }
    logoBox_->setPicture(loaded.picture);
    LogoPresent = true;
    applyCommandStates();
}

void MainWindow::CheckBox2Click() {
    logoBox_->setStretched(ui->CheckBox2->isChecked());
}

void MainWindow::Button11Click() {
    // A read that failed at its first record leaves no picture, yet saving
    // is enabled: say so rather than ask for a name and write nothing.
    if (!logoBox_->hasPicture()) {
        tell(logo::noLogoText());
        return;
    }
    const std::optional<QString> chosen =
        dialogs_->saveFileName(logoFileRequest(QStringLiteral("Сохранение логотипа в BMP-файл")));
    if (!chosen) return;
    const QString failure = logo::saveLogoFile(logoBox_->picture(), logo::bmpFileName(*chosen));
    if (!failure.isEmpty())
        dialogs_->message(failure, QStringLiteral("Ошибка работы с файлом"), MessageIcon::None,
                          MessageButtons::Ok);
}

void MainWindow::Button13Click() {
    if (linkWorkRunning()) return;
    if (!logoBox_->hasPicture()) {
        tell(logo::noLogoText());
        return;
    }
    ui->ProgressBar1->setRange(0, logo::kLogoRows);
    ui->ProgressBar1->setValue(0);
    // The write goes to the register chosen in the box, connected or not.
    const QString numberText = ui->ComboBox3->currentText();
    bool isNumber = false;
    const int registerNumber = numberText.toInt(&isNumber);
    if (!isNumber) {
        dialogs_->message(Dialogs::notAnIntegerText(numberText), logo::logoCaption(),
                          MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    const int rows = logoBox_->picture().height();
    if (rows > logo::kLogoRows &&
        dialogs_->message(logo::tallPictureQuestion(rows), logo::logoCaption(),
                          MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;

    const QList<QByteArray> records = logo::logoRecords(logoBox_->picture());
    beginLinkWork();
    session_->post([this, registerNumber, records](link::RegisterLink& link) {
        const logo::LogoTransferEnd end = logo::writeLogo(
            link, registerNumber, records,
            [this](int record) {
                session_->toWindow([this, record] { ui->ProgressBar1->setValue(record); });
            },
            session_->control().cancelled);
        session_->toWindow([this, end] {
            if (end.how == logo::LogoTransferEnd::How::Cancelled) return;
            tell(end.how == logo::LogoTransferEnd::How::Complete ? logo::doneText()
                                                                 : logo::writeFailedText());
            ui->ProgressBar1->setValue(0);
            endLinkWork();
        });
    });
}

void MainWindow::Button12Click() {
    if (linkWorkRunning()) return;
    ui->ProgressBar1->setRange(0, logo::kLogoRows);
    ui->ProgressBar1->setValue(0);
    const int registerNumber = RegisterNumber;
    beginLinkWork();
    session_->post([this, registerNumber](link::RegisterLink& link) {
        const logo::LogoTransferEnd end = logo::readLogo(
            link, registerNumber,
            [this](int record) {
                session_->toWindow([this, record] { ui->ProgressBar1->setValue(record); });
            },
            [this](int row, const QList<std::uint8_t>& values) {
                session_->toWindow([this, row, values] { logoBox_->drawRow(row, values); });
            },
            session_->control().cancelled);
        session_->toWindow([this, end] {
            if (end.how == logo::LogoTransferEnd::How::Cancelled) return;
            tell(end.how == logo::LogoTransferEnd::How::Complete ? logo::doneText()
                                                                 : logo::readFailedText());
            ui->ProgressBar1->setValue(0);
            // Also after a failure: the rows read so far are in the box.
            LogoPresent = true;
            endLinkWork();
        });
    });
}

}  // namespace tabulon::app

// The logo transfers and the report download share the link with the table
// runs and connecting: one at a time, and nothing else on the link's buttons
// meanwhile.
namespace tabulon::app {

bool MainWindow::linkWorkRunning() const {
    return job_ != LinkJob::None;
}

void MainWindow::beginLinkWork() {
    setJob(LinkJob::PageWork);
}

void MainWindow::endLinkWork() {
    setJob(LinkJob::None);
}

}  // namespace tabulon::app
