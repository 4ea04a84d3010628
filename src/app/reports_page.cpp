#include "app/reports_page.h"

#include <QDir>
#include <array>

#include "app/command_states.h"
#include "app/page_host.h"
#include "app/progress_text.h"
#include "app/register_session.h"
#include "app/report_choices.h"
#include "dialogs/dialogs.h"
#include "reports/report_catalogue.h"
#include "reports/report_line.h"
#include "reports/report_messages.h"
#include "transfer/progress_estimate.h"
#include "ui_reports_page.h"

namespace tabulon::app {

namespace {

using reports::DownloadEnd;

// The page's place for each report, in the reports' order.
struct ReportControls {
    QCheckBox* box;
    QLineEdit* fileName;
};

std::array<ReportControls, reports::kReportCount> reportControls(Ui::ReportsPageForm& ui) {
    return {{{ui.CheckBox3, ui.Edit38},
             {ui.CheckBox4, ui.Edit39},
             {ui.CheckBox5, ui.Edit40},
             {ui.CheckBox8, ui.Edit42},
             {ui.CheckBox9, ui.Edit43},
             {ui.CheckBox10, ui.Edit44},
             {ui.CheckBox11, ui.Edit45}}};
}

}  // namespace

ReportsPage::ReportsPage(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::ReportsPageForm>()) {
    ui->setupUi(this);
}

ReportsPage::~ReportsPage() = default;

void ReportsPage::attach(PageHost& host) {
    host_ = &host;
    connect(ui->Button17, &QPushButton::clicked, this, &ReportsPage::Button17Click);
    connect(ui->Button18, &QPushButton::clicked, this, &ReportsPage::Button18Click);
    connect(ui->Button19, &QPushButton::clicked, this, &ReportsPage::Button19Click);
    connect(ui->DirectoryEdit1Button, &QToolButton::clicked, this,
            &ReportsPage::DirectoryEdit1ButtonClick);
    connect(ui->Edit41, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (download_) download_->setSeparatorField(text);
    });
}

void ReportsPage::showStoredNames(const QStringList& files, const QString& directory) {
    const auto controls = reportControls(*ui);
    for (int i = 0; i < reports::kReportCount; ++i) controls[i].fileName->setText(files.value(i));
    ui->DirectoryEdit1->setText(directory);
}

void ReportsPage::addCommandStates(const CommandStates& on, EnabledStates& states) const {
    states.emplace_back(ui->Button19, on.reportsRead);
}

void ReportsPage::Button17Click() {
    for (const ReportControls& report : reportControls(*ui)) report.box->setChecked(true);
}

void ReportsPage::Button18Click() {
    for (const ReportControls& report : reportControls(*ui)) report.box->setChecked(false);
}

void ReportsPage::DirectoryEdit1ButtonClick() {
    const QString start = ui->DirectoryEdit1->text();
    const std::optional<QString> chosen = host_->dialogs().directoryName(
        QStringLiteral("Выбор папки для отчетов"), start.isEmpty() ? QDir::currentPath() : start);
    if (!chosen) return;
    // As the settings file's directory is shown: with its separator at the end.
    QString directory = QDir::toNativeSeparators(*chosen);
    if (!directory.endsWith(QDir::separator())) directory += QDir::separator();
    ui->DirectoryEdit1->setText(directory);
}

std::optional<reports::ReportStart> ReportsPage::reportStart(int index) const {
    const ReportControls report = reportControls(*ui)[index];
    if (!report.box->isChecked()) return std::nullopt;
    const QString name = report.fileName->text();
    return reports::ReportStart{
        name, reports::reportPath(ui->DirectoryEdit1->text(), name),
        reports::recordCount(reports::reportList()[index], host_->selectedModel())};
}

void ReportsPage::Button19Click() {
    if (!host_->linkFree()) return;
    // Refused before any file is created or emptied.
    if (const QString problem = reports::separatorProblem(ui->Edit41->text()); !problem.isEmpty()) {
        host_->dialogs().message(problem, messageCaption(), MessageIcon::Warning,
                                 MessageButtons::Ok);
        return;
    }
    host_->beginJob(LinkJob::ReportDownload);
    RegisterSession& session = host_->session();
    // A stop asked of an earlier job is not this one's.
    session.control().stopRequested = false;
    session.control().resetRequested = false;
    // Each report is timed from its own start: they differ in length.
    const auto timer = startedTimer(session);
    download_ = std::make_shared<ReportChoices>(
        [this, &session](int index) {
            return link::askOn<std::optional<reports::ReportStart>>(
                this, [this, index] { return reportStart(index); }, session.control().cancelled,
                std::nullopt);
        },
        [this, &session, timer](int index, reports::ReportStart start) {
            timer->start();
            session.setJobTable(reports::reportList()[std::size_t(index)].caption);
            session.toWindow([this, start] {
                ui->Label44->setText(start.fileName);
                ui->ProgressBar2->setRange(0, start.records);
                reportRecords_ = start.records;
                showProgress(*ui->ProgressBar2, 0, 0, start.records, {});
            });
        },
        [this, &session, timer](int record) {
            session.toWindow([this, record, elapsed = timer->elapsed()] {
                showProgress(*ui->ProgressBar2, record, record, reportRecords_, elapsed);
            });
        },
        ui->Edit41->text());

    const transfer::Connection connection = host_->linkConnection();
    session.post([this, &session, connection, choices = download_](link::RegisterLink& link) {
        reports::DownloadParts parts{link,     connection,   session, session.control(),
                                     *choices, choices.get()};
        const DownloadEnd end = reports::downloadReports(parts);
        session.toWindow([this, end] { endDownload(end); });
    });
}

void ReportsPage::endDownload(const DownloadEnd& end) {
    download_.reset();
    using How = DownloadEnd::How;
    Dialogs& dialogs = host_->dialogs();
    switch (end.how) {
        case How::Cancelled:
            return;
        case How::Finished:
            endProgress(*ui->ProgressBar2);
            ui->Label44->clear();
            dialogs.message(reports::doneText(), messageCaption(), MessageIcon::None,
                            MessageButtons::Ok);
            break;
        case How::NotCreated:
            // The report had been counted in before its file would not open.
            endProgress(*ui->ProgressBar2, ui->ProgressBar2->value());
            dialogs.message(reports::notCreatedText(), reports::fileErrorCaption(),
                            MessageIcon::None, MessageButtons::OkCancel);
            break;
        case How::RecordFailed:
        case How::Stopped:
        case How::WriteFailed:
        case How::NoSeparator:
            // The bar and the file name stay where the download stopped.
            endProgress(*ui->ProgressBar2, end.lines);
            dialogs.message(
                reports::endedEarlyText(end),
                end.how == How::WriteFailed ? reports::fileErrorCaption() : messageCaption(),
                MessageIcon::Warning, MessageButtons::Ok);
            break;
    }
    host_->endPageWork();
}

}  // namespace tabulon::app
