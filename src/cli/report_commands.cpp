#include "cli/report_commands.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <memory>

#include "cli/cli_port.h"
#include "cli/cli_run_dialogs.h"
#include "cli/progress_line.h"
#include "cli/stop_signals.h"
#include "reports/report_catalogue.h"
#include "reports/report_download.h"
#include "reports/report_line.h"
#include "settings/profile_file.h"
#include "settings/report_settings.h"
#include "settings/settings_file.h"

namespace tabulon::cli {

namespace {

using reports::DownloadEnd;
using reports::ReportStart;

// The reports the command reads, with their files, fixed when it starts.
class Choices : public reports::DownloadChoices, public reports::DownloadProgress {
public:
    Choices(CliConsole& console, transfer::RunControl& control, char separator)
        : console_(console), control_(control), separator_(separator) {}

    QList<std::optional<ReportStart>> files;
    QStringList done;  // a line for each report read whole
    int linesRead = 0;

    std::optional<ReportStart> reportStarts(int index) override { return files[index]; }
    std::optional<char> separator() override { return separator_; }
    void reportStarted(int index, const ReportStart& start) override {
        finishReport();
        current_ = index;
        progress_ = std::make_unique<ProgressLine>(console_, start.fileName, start.records);
    }
    void lineWritten(int, int record) override {
        ++linesRead;
        progress_->recordDone(record, record);
        // A signal ends the download as the program's closing does, between
        // two records, the report in hand not written.
        if (control_.stopRequested) control_.cancelled = true;
    }
    // The report in hand came to its end; `written` false when its file
    // could not be put in place, whatever was read into it.
    void finishReport(bool written = true) {
        if (!progress_) return;
        if (written && progress_->dealtWith() == files[current_]->records)
            done << QStringLiteral("%1: %2\n")
                        .arg(files[current_]->path, counted(files[current_]->records, u"line"));
        progress_.reset();
        console_.endProgress();
    }

private:
    CliConsole& console_;
    transfer::RunControl& control_;
    char separator_;
    int current_ = -1;
    std::unique_ptr<ProgressLine> progress_;
};

// The reports named by --only, all seven without it; nullopt after a name
// that is none of them (`error` says which).
std::optional<QList<bool>> chosenReports(const QStringList& only, QString& error) {
    QList<bool> chosen(reports::kReportCount, only.isEmpty());
    for (const QString& name : only) {
        const int index = reports::reportIndex(name);
        if (index < 0) {
            QStringList names;
            for (const reports::Report& report : reports::reportList()) names << report.shortName;
            error = QStringLiteral("--only: unknown report %1; the reports are %2")
                        .arg(name, names.join(QStringLiteral(", ")));
            return std::nullopt;
        }
        chosen[index] = true;
    }
    return chosen;
}

QString endText(const DownloadEnd& end) {
    QString why;
    switch (end.how) {
        case DownloadEnd::How::Finished:
            return QString();
        case DownloadEnd::How::NotCreated:
            return QStringLiteral("%1: cannot create: %2").arg(end.file.path, end.fileError);
        case DownloadEnd::How::RecordFailed:
            why = QStringLiteral("record %1 of %2 not read").arg(end.record).arg(end.file.fileName);
            break;
        case DownloadEnd::How::WriteFailed:
            return QStringLiteral("%1: not written: %2").arg(end.file.path, end.fileError);
        case DownloadEnd::How::Cancelled:
            // The report in hand, if any, is left as it was.
            why = QStringLiteral("stopped by a signal");
            return end.file.path.isEmpty()
                       ? why
                       : why + QStringLiteral("\n%1 not written").arg(end.file.path);
        case DownloadEnd::How::Stopped:
            why = QStringLiteral("stopped");
            break;
        case DownloadEnd::How::NoSeparator:
            why = QStringLiteral("no separator");
            break;
    }
    return why + QStringLiteral("\n%1 is incomplete: %2 of %3")
                     .arg(end.file.path)
                     .arg(end.lines)
                     .arg(counted(end.file.records, u"line"));
}

// The names the window would show, listed in the order the reports are
// read: read, never written.
settings::ReportSettings reportNames() {
    return settings::readReportSettings(settings::ProfileFile(settings::workingSettingsFile()),
                                        QDir::currentPath());
}

QString firstLine(const QString& text) {
    return text.section(u'\n', 0, 0);
}

}  // namespace

CliResult runReports(const CliContext& context) {
    const CliRequest& request = context.request;
    if (request.reportDirectory.isEmpty())
        return usageError(QStringLiteral("reports needs --dir DIR"));
    // Made when missing, as the fleet makes each register's.
    if (!QDir().mkpath(request.reportDirectory) || !QFileInfo(request.reportDirectory).isDir())
        return inputError(QStringLiteral("--dir %1: not a directory and cannot be made")
                              .arg(request.reportDirectory));
    const std::optional<char> separator = reports::separatorByte(request.separator);
    if (!separator || request.separator.size() != 1)
        return usageError(QStringLiteral("--separator takes one character that Windows-1251 has"));
    QString error;
    const std::optional<QList<bool>> chosen = chosenReports(request.onlyReports, error);
    if (!chosen) return usageError(error);

    const settings::ReportSettings names = reportNames();
    Choices choices(context.console, context.control, *separator);
    for (int index = 0; index < reports::kReportCount; ++index) {
        const reports::Report& report = reports::reportList()[index];
        if (!(*chosen)[index]) {
            choices.files << std::nullopt;
            continue;
        }
        const QString& name = names.files[index];
        choices.files << ReportStart{name, reports::reportPath(request.reportDirectory, name),
                                     reports::recordCount(report, request.model)};
    }

    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    CliRunDialogs dialogs(request.onFailure, context.console);
    reports::DownloadParts parts{
        context.link,
        transfer::Connection{request.registerNumber, context.portNumber, request.speed},
        dialogs,
        context.control,
        choices,
        &choices};
    DownloadEnd end;
    {
        const StopOnSignals stop(context.control);
        end = reports::downloadReports(parts);
    }
    // A download ends at the report whose file could not be written.
    choices.finishReport(end.how != DownloadEnd::How::WriteFailed);
    const std::optional<CliResult> closing = closePort(context);
    if (context.tally) {
        int lines = 0;
        for (const std::optional<ReportStart>& file : choices.files)
            lines += file ? file->records : 0;
        const int failed = end.how == DownloadEnd::How::RecordFailed ? 1 : 0;
        *context.tally =
            RunTally{true, choices.linesRead, failed,
                     std::max(0, lines - choices.linesRead - failed), firstLine(endText(end))};
    }

    CliResult result;
    result.output = choices.done.join(QString());
    QStringList errors;
    if (const QString text = endText(end); !text.isEmpty()) errors << text;
    if (closing) errors << closing->error;
    if (!errors.isEmpty()) {
        result.status = kExitFailed;
        result.error = errors.join(u'\n');
    }
    return result;
}

QStringList reportFiles(const CliRequest& request) {
    QString error;
    const std::optional<QList<bool>> chosen = chosenReports(request.onlyReports, error);
    if (request.reportDirectory.isEmpty() || !chosen) return {};
    const settings::ReportSettings names = reportNames();
    QStringList files;
    for (int index = 0; index < reports::kReportCount; ++index) {
        if ((*chosen)[index])
            files << reports::reportPath(request.reportDirectory, names.files[index]);
    }
    return files;
}

}  // namespace tabulon::cli
