// The reports tab: "Установить все", "Очистить все", the folder picker and
// "Чтение отчетов". The download runs on the link's thread; it asks the tab
// for each report's choices as it comes to it and sends its progress back.

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "app/logo_box.h"
#include "app/main_window.h"
#include "app/register_session.h"
#include "app/report_choices.h"
#include "dialogs/dialogs.h"
#include "reports/report_catalogue.h"
#include "reports/report_line.h"
#include "reports/report_messages.h"
#include "ui_main_window.h"

namespace tabulon::app {

namespace {

using reports::DownloadEnd;

// The tab's place for each report, in the reports' order.
struct ReportControls {
    QCheckBox* box;
    QLineEdit* fileName;
};

std::array<ReportControls, reports::kReportCount> reportControls(Ui::MainWindowForm& ui) {
    return {{{ui.CheckBox3, ui.Edit38},
             {ui.CheckBox4, ui.Edit39},
             {ui.CheckBox5, ui.Edit40},
             {ui.CheckBox8, ui.Edit42},
             {ui.CheckBox9, ui.Edit43},
             {ui.CheckBox10, ui.Edit44},
             {ui.CheckBox11, ui.Edit45}}};
}

}  // namespace

void MainWindow::connectLogoAndReports() {
    logoBox_ = std::make_unique<LogoBox>(ui->Image1);
    connect(ui->Button7, &QPushButton::clicked, this, &MainWindow::Button7Click);
    connect(ui->Button11, &QPushButton::clicked, this, &MainWindow::Button11Click);
    connect(ui->Button13, &QPushButton::clicked, this, &MainWindow::Button13Click);
    connect(ui->Button12, &QPushButton::clicked, this, &MainWindow::Button12Click);
    connect(ui->CheckBox2, &QCheckBox::clicked, this, &MainWindow::CheckBox2Click);
    connect(ui->Button17, &QPushButton::clicked, this, &MainWindow::Button17Click);
    connect(ui->Button18, &QPushButton::clicked, this, &MainWindow::Button18Click);
    connect(ui->Button19, &QPushButton::clicked, this, &MainWindow::Button19Click);
    connect(ui->DirectoryEdit1Button, &QToolButton::clicked, this,
            &MainWindow::DirectoryEdit1ButtonClick);
    connect(ui->Edit41, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (download_) download_->setSeparatorField(text);
    });
}

void MainWindow::Button17Click() {
    for (const ReportControls& report : reportControls(*ui)) report.box->setChecked(true);
}

void MainWindow::Button18Click() {
    for (const ReportControls& report : reportControls(*ui)) report.box->setChecked(false);
}

void MainWindow::DirectoryEdit1ButtonClick() {
    const QString start = ui->DirectoryEdit1->text();
    const std::optional<QString> chosen = dialogs_->directoryName(
        QStringLiteral("Выбор папки для отчетов"), start.isEmpty() ? QDir::currentPath() : start);
    if (!chosen) return;
    // As the settings file's directory is shown: with its separator at the end.
    QString directory = QDir::toNativeSeparators(*chosen);
    if (!directory.endsWith(QDir::separator())) directory += QDir::separator();
    ui->DirectoryEdit1->setText(directory);
}

std::optional<reports::ReportStart> MainWindow::reportStart(int index) const {
    const ReportControls report = reportControls(*ui)[index];
    if (!report.box->isChecked()) return std::nullopt;
    const QString name = report.fileName->text();
    return reports::ReportStart{
        name, reports::reportPath(ui->DirectoryEdit1->text(), name),
        reports::recordCount(reports::reportList()[index], selectedModel())};
}

void MainWindow::Button19Click() {
    if (linkWorkRunning()) return;
    // Refused before any file is created or emptied.
    if (const QString problem = reports::separatorProblem(ui->Edit41->text()); !problem.isEmpty()) {
        dialogs_->message(problem, reports::reportsCaption(), MessageIcon::Warning,
                          MessageButtons::Ok);
        return;
    }
    beginLinkWork();
    RegisterSession& session = *session_;
    download_ = std::make_shared<ReportChoices>(
        [this, &session](int index) {
            return link::askOn<std::optional<reports::ReportStart>>(
                this, [this, index] { return reportStart(index); }, session.control().cancelled,
                std::nullopt);
        },
        [this, &session](int, reports::ReportStart start) {
            session.toWindow([this, start] {
                ui->Label44->setText(start.fileName);
                ui->ProgressBar2->setRange(0, start.records);
                ui->ProgressBar2->setValue(0);
            });
        },
        [this, &session](int record) {
            session.toWindow([this, record] { ui->ProgressBar2->setValue(record); });
        },
        ui->Edit41->text());

    const transfer::Connection connection = linkConnection();
    session_->post([this, connection, choices = download_](link::RegisterLink& link) {
        reports::DownloadParts parts{link,     connection,   *session_, session_->control(),
                                     *choices, choices.get()};
        const DownloadEnd end = reports::downloadReports(parts);
        session_->toWindow([this, end] { endDownload(end); });
    });
}

void MainWindow::endDownload(const DownloadEnd& end) {
    download_.reset();
    using How = DownloadEnd::How;
    switch (end.how) {
        case How::Cancelled:
            return;
        case How::Finished:
            ui->ProgressBar2->setValue(0);
            ui->Label44->clear();
            dialogs_->message(reports::doneText(), reports::reportsCaption(), MessageIcon::None,
                              MessageButtons::Ok);
            break;
        case How::NotCreated:
            dialogs_->message(reports::notCreatedText(), reports::fileErrorCaption(),
                              MessageIcon::None, MessageButtons::OkCancel);
            break;
        case How::RecordFailed:
        case How::WriteFailed:
        case How::NoSeparator:
            // The bar and the file name stay where the download stopped.
            ui->ProgressBar2->setValue(end.lines);
            dialogs_->message(reports::endedEarlyText(end),
                              end.how == How::WriteFailed ? reports::fileErrorCaption()
                                                          : reports::reportsCaption(),
                              MessageIcon::Warning, MessageButtons::Ok);
            break;
    }
    endLinkWork();
}

}  // namespace tabulon::app
