#include "app/logo_page.h"

#include <QDir>
#include <QProgressBar>

#include "app/command_states.h"
#include "app/logo_box.h"
#include "app/page_host.h"
#include "app/progress_text.h"
#include "app/register_session.h"
#include "dialogs/dialogs.h"
#include "logo/dot_row.h"
#include "logo/logo_file.h"
#include "logo/logo_messages.h"
#include "logo/logo_transfer.h"
#include "text/decimal_number.h"
#include "transfer/progress_estimate.h"
#include "ui_logo_page.h"

namespace tabulon::app {

namespace {

const QString kBmpFilter = QStringLiteral("BMP files (*.BMP)|*.BMP|All files (*.*)|*.*");

FileDialogRequest logoFileRequest(const QString& title) {
    return {title, kBmpFilter, QString(), QDir::currentPath()};
}

}  // namespace

LogoPage::LogoPage(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::LogoPageForm>()) {
    ui->setupUi(this);
    logoBox_ = std::make_unique<LogoBox>(ui->Image1);
}

LogoPage::~LogoPage() = default;

void LogoPage::attach(PageHost& host, QProgressBar* progress) {
    host_ = &host;
    progress_ = progress;
    connect(ui->Button7, &QPushButton::clicked, this, &LogoPage::Button7Click);
    connect(ui->Button11, &QPushButton::clicked, this, &LogoPage::Button11Click);
    connect(ui->Button13, &QPushButton::clicked, this, &LogoPage::Button13Click);
    connect(ui->Button12, &QPushButton::clicked, this, &LogoPage::Button12Click);
    connect(ui->CheckBox2, &QCheckBox::clicked, this, &LogoPage::CheckBox2Click);
}

void LogoPage::addCommandStates(const CommandStates& on, EnabledStates& states) const {
    states.emplace_back(ui->Button7, on.logoLoadAndRead);
    states.emplace_back(ui->Button12, on.logoLoadAndRead);
    if (on.logoSaveAndWrite) {
        states.emplace_back(ui->Button11, *on.logoSaveAndWrite);
        states.emplace_back(ui->Button13, *on.logoSaveAndWrite);
    }
}

void LogoPage::tell(const QString& text) {
    host_->dialogs().message(text, messageCaption(), MessageIcon::None, MessageButtons::Ok);
}

void LogoPage::Button7Click() {
    if (!host_->linkFree()) return;
    const std::optional<QString> chosen = host_->dialogs().openFileName(
        logoFileRequest(QStringLiteral("Загрузка логотипа из BMP-файла")));
    if (!chosen) return;
    const logo::LoadedLogo loaded = logo::loadLogoFile(*chosen);
    if (loaded.picture.isNull()) {
        // The box and LogoPresent stay as they were.
        tell(loaded.error);
        return;
    }
    logoBox_->setPicture(loaded.picture);
    host_->logoPresent();
}

void LogoPage::CheckBox2Click() {
    logoBox_->setStretched(ui->CheckBox2->isChecked());
}

void LogoPage::Button11Click() {
    // A read that failed at its first record leaves no picture, yet saving
    // is enabled: say so rather than ask for a name and write nothing.
    if (!logoBox_->hasPicture()) {
        tell(logo::noLogoText());
        return;
    }
    const std::optional<QString> chosen = host_->dialogs().saveFileName(
        logoFileRequest(QStringLiteral("Сохранение логотипа в BMP-файл")));
    if (!chosen) return;
    const QString failure = logo::saveLogoFile(logoBox_->picture(), logo::bmpFileName(*chosen));
    if (!failure.isEmpty())
        host_->dialogs().message(failure, QStringLiteral("Ошибка работы с файлом"),
                                 MessageIcon::None, MessageButtons::Ok);
}

void LogoPage::Button13Click() {
    if (!host_->linkFree()) return;
    if (!logoBox_->hasPicture()) {
        tell(logo::noLogoText());
        return;
    }
    progress_->setRange(0, logo::kLogoRows);
    progress_->setValue(0);
    // The write goes to the register chosen in the box, connected or not.
    const QString numberText = host_->chosenRegisterText();
    bool isNumber = false;
    const int registerNumber = numberText.toInt(&isNumber);
    if (!isNumber) {
        host_->dialogs().message(text::invalidIntegerMessage(numberText), messageCaption(),
                                 MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    const int rows = logoBox_->picture().height();
    if (rows > logo::kLogoRows &&
        host_->dialogs().message(logo::tallPictureQuestion(rows), messageCaption(),
                                 MessageIcon::Question,
                                 MessageButtons::YesNo) != MessageAnswer::Yes)
        return;

    const QList<QByteArray> records = logo::logoRecords(logoBox_->picture());
    host_->beginJob(LinkJob::LogoTransfer);
    RegisterSession& session = host_->session();
    const auto timer = startedTimer(session);
    session.post([this, &session, registerNumber, records, timer](link::RegisterLink& link) {
        const int total = int(records.size());
        const logo::LogoTransferEnd end = logo::writeLogo(
            link, registerNumber, records,
            [this, &session, timer, total](int record) {
                session.toWindow([this, record, total, elapsed = timer->elapsed()] {
                    showProgress(*progress_, record, record, total, elapsed);
                });
            },
            session.control().cancelled);
        session.toWindow([this, end] {
            if (end.how == logo::LogoTransferEnd::How::Cancelled) return;
            tell(end.how == logo::LogoTransferEnd::How::Complete ? logo::doneText()
                                                                 : logo::writeFailedText());
            endProgress(*progress_);
            host_->endPageWork();
        });
    });
}

void LogoPage::Button12Click() {
    if (!host_->linkFree()) return;
    progress_->setRange(0, logo::kLogoRows);
    progress_->setValue(0);
    const int registerNumber = host_->linkConnection().registerNumber;
    host_->beginJob(LinkJob::LogoTransfer);
    RegisterSession& session = host_->session();
    const auto timer = startedTimer(session);
    session.post([this, &session, registerNumber, timer](link::RegisterLink& link) {
        const logo::LogoTransferEnd end = logo::readLogo(
            link, registerNumber,
            [this, &session, timer](int record) {
                session.toWindow([this, record, elapsed = timer->elapsed()] {
                    showProgress(*progress_, record, record, logo::kLogoRows, elapsed);
                });
            },
            [this, &session](int row, const QList<std::uint8_t>& values) {
                session.toWindow([this, row, values] { logoBox_->drawRow(row, values); });
            },
            session.control().cancelled);
        session.toWindow([this, end] {
            if (end.how == logo::LogoTransferEnd::How::Cancelled) return;
            tell(end.how == logo::LogoTransferEnd::How::Complete ? logo::doneText()
                                                                 : logo::readFailedText());
            endProgress(*progress_);
            // Also after a failure: the rows read so far are in the box.
            host_->logoPresent();
            host_->endPageWork();
        });
    });
}

}  // namespace tabulon::app
