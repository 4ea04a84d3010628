#include "cli/logo_commands.h"

#include "cli/cli_port.h"
#include "cli/progress_line.h"
#include "cli/stop_signals.h"
#include "cli/table_file_io.h"
#include "disk/safe_save.h"
#include "link/register_link.h"
#include "logo/dot_row.h"
#include "logo/logo_file.h"
#include "logo/logo_transfer.h"

namespace tabulon::cli {

namespace {

using logo::LogoTransferEnd;

// How a transfer ended, with the cause of a failed record. A signal ends the
// link's waits, so the record in hand fails for want of an answer: that is
// the signal's doing, not the register's.
struct LogoEnd {
    LogoTransferEnd end;
    link::ResultCause cause = link::ResultCause::Done;
};

// The guard is asked here, once the transfer has ended: a flag taken as an
// argument beside the transfer's call may be read before the transfer runs.
LogoEnd ended(const LogoTransferEnd& end, const CliContext& context, const StopOnSignals& stop) {
    LogoEnd told{end, context.link.lastCause()};
    if (stop.caught() && end.how == LogoTransferEnd::How::Failed)
        told.end.how = LogoTransferEnd::How::Cancelled;
    return told;
}

// What went wrong at a record; empty when the transfer was complete.
QString endText(const LogoEnd& told, link::Operation operation, const QString& verb) {
    const LogoTransferEnd& end = told.end;
    switch (end.how) {
        case LogoTransferEnd::How::Complete:
            return QString();
        case LogoTransferEnd::How::Failed:
            return QStringLiteral("logo: record %1 not %2: %3")
                .arg(end.record)
                .arg(verb, causeWords(operation, told.cause, end.linkResult));
        case LogoTransferEnd::How::Cancelled:
            return QStringLiteral("logo: stopped by a signal before record %1").arg(end.record);
    }
    return QString();
}

// Counts the logo's records for the caller that asks: those before the one
// it ended at were done.
void count(const CliContext& context, const LogoEnd& told, int total, link::Operation operation) {
    if (!context.tally) return;
    const LogoTransferEnd& end = told.end;
    RunTally& tally = *context.tally;
    tally = RunTally{true, total, 0, 0, QString()};
    if (end.how == LogoTransferEnd::How::Complete) return;
    tally.done = end.record - 1;
    tally.failed = end.how == LogoTransferEnd::How::Failed ? 1 : 0;
    tally.skipped = total - tally.done - tally.failed;
    tally.firstFailure = end.how == LogoTransferEnd::How::Failed
                             ? QStringLiteral("record %1: %2")
                                   .arg(end.record)
                                   .arg(causeWords(operation, told.cause, end.linkResult))
                             : QStringLiteral("stopped by a signal");
}

}  // namespace

CliResult runWriteLogo(const CliContext& context) {
    const QString& path = context.request.arguments[0];
    const logo::LoadedLogo loaded = logo::loadLogoFile(path);
    if (loaded.picture.isNull())
        return inputError(QStringLiteral("%1: %2").arg(path, loaded.englishError));
    // The window asks before it sends a picture the register cannot hold
    // whole; a script cannot answer, so the command does not begin.
    const int rows = loaded.picture.height();
    if (rows > logo::kLogoRows) {
        return inputError(
            QStringLiteral("%1: the picture is %2 rows high; the register's logo holds rows 1-%3 "
                           "only\nnothing was sent")
                .arg(path)
                .arg(rows)
                .arg(logo::kLogoRows));
    }
    const QList<QByteArray> records = logo::logoRecords(loaded.picture);

    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    ProgressLine progress(context.console, QStringLiteral("logo"), int(records.size()));
    LogoEnd end;
    {
        const StopOnSignals stop(context.control);
        end = ended(logo::writeLogo(
                        context.link, context.request.registerNumber, records,
                        [&](int record) { progress.recordDone(record, record); },
                        context.control.stopRequested),
                    context, stop);
    }
    context.console.endProgress();
    count(context, end, int(records.size()), link::Operation::WriteRecord);
    const std::optional<CliResult> closing = closePort(context);

    QStringList errors;
    if (const QString failed =
            endText(end, link::Operation::WriteRecord, QStringLiteral("written"));
        !failed.isEmpty())
        errors << failed;
    if (closing) errors << closing->error;
    if (!errors.isEmpty()) return failure(errors.join(u'\n'));
    return {kExitDone, QStringLiteral("logo: %1 records written\n").arg(records.size()), QString(),
            false};
}

CliResult runReadLogo(const CliContext& context) {
    const QString& path = context.request.arguments[0];
    // A file that cannot be written is found before the register is asked;
    // nothing appears under its name until the whole logo is in.
    {
        disk::SafeSave file(path);
        if (auto error = openOutput(file)) return inputError(*error);
    }

    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    ProgressLine progress(context.console, QStringLiteral("logo"), logo::kLogoRows);
    QImage picture = logo::blankLogo();
    LogoEnd end;
    {
        const StopOnSignals stop(context.control);
        end = ended(logo::readLogo(
                        context.link, context.request.registerNumber, nullptr,
                        [&](int row, const QList<std::uint8_t>& values) {
                            logo::drawRow(picture, row, values);
                            progress.recordDone(row + 1, row);
                        },
                        context.control.stopRequested),
                    context, stop);
    }
    context.console.endProgress();
    count(context, end, logo::kLogoRows, link::Operation::ReadRecord);
    const std::optional<CliResult> closing = closePort(context);

    QStringList errors;
    if (const QString failed = endText(end, link::Operation::ReadRecord, QStringLiteral("read"));
        !failed.isEmpty())
        errors << failed << QStringLiteral("%1 not written").arg(path);
    else if (const auto saving = logo::saveLogo(picture, path))
        errors << (saving->created ? QStringLiteral("%1: not written: %2")
                                   : QStringLiteral("%1: cannot create: %2"))
                      .arg(path, saving->detail);
    if (closing) errors << closing->error;
    if (!errors.isEmpty()) return failure(errors.join(u'\n'));
    return {kExitDone,
            QStringLiteral("logo: %1 records read into %2\n").arg(logo::kLogoRows).arg(path),
            QString(), false};
}

}  // namespace tabulon::cli
