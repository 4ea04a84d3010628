#include "reports/report_download.h"

#include "disk/safe_save.h"
#include "link/register_link.h"
#include "reports/report_catalogue.h"
#include "reports/report_line.h"
#include "transfer/transfer_record.h"

namespace tabulon::reports {

namespace {

using How = DownloadEnd::How;

DownloadEnd endAt(How how, int index, const ReportStart& start = {}) {
    DownloadEnd end;
    end.how = how;
    end.report = index;
    end.file = start;
    return end;
}

// "Стоп", seen between two records: the registers go back to idle first.
bool stopped(DownloadParts& parts) {
    if (!parts.control.stopRequested || parts.control.cancelled) return false;
    if (parts.control.resetRequested.exchange(false)) parts.link.ResetLink();
    return true;
}

// Reads one report into its open file; Finished when every record is in it.
DownloadEnd readReport(DownloadParts& parts, int index, const ReportStart& start, QIODevice& file) {
    const Report& report = reportList()[index];
    transfer::RecordTransfer policy(parts.link, parts.connection, parts.dialogs, parts.control);
    DownloadEnd end = endAt(How::Finished, index, start);
    for (int record = 1; record <= start.records; ++record) {
        end.record = record;
        if (record > 1 && stopped(parts)) {
            end.how = How::Stopped;
            return end;
        }
        QByteArray reply;
        const transfer::RecordOutcome outcome = policy.transfer(record, [&] {
            return parts.link.ReadRecord(parts.connection.registerNumber, report.table, record,
                                         reply);
        });
        end.linkResult = policy.lastResult();
        if (outcome != transfer::RecordOutcome::Done) {
            end.how = parts.control.cancelled ? How::Cancelled : How::RecordFailed;
            return end;
        }
        const std::optional<char> separator = parts.choices.separator();
        if (!separator) {
            end.how = How::NoSeparator;
            return end;
        }
        const QByteArray line = reportLine(reply, *separator) + kLineEnd;
        if (file.write(line) != line.size()) {
            end.how = How::WriteFailed;
            return end;
        }
        ++end.lines;
        if (parts.progress) parts.progress->lineWritten(index, record);
    }
    return end;
}

}  // namespace

DownloadEnd downloadReports(DownloadParts& parts) {
    for (int index = 0; index < kReportCount; ++index) {
        if (parts.control.cancelled) return endAt(How::Cancelled, index);
        // Between two reports: the next file is not touched.
        if (stopped(parts)) return endAt(How::Stopped, index);
        const std::optional<ReportStart> start = parts.choices.reportStarts(index);
        if (!start) continue;
        if (parts.progress) parts.progress->reportStarted(index, *start);

        // The earlier file is replaced only by lines that are all on the disk:
        // a report cut short by a full disk would end in half a line.
        disk::SafeSave file(start->path);
        if (!file.open()) {
            DownloadEnd end = endAt(How::NotCreated, index, *start);
            end.fileError = file.errorString();
            return end;
        }
        DownloadEnd end = readReport(parts, index, *start, file.device());
        if (end.how == How::Cancelled) {
            file.cancel();
            return end;
        }
        if (end.how == How::WriteFailed) {
            file.cancel();
            end.fileError = file.errorString();
            return end;
        }
        // A download the user ended keeps the lines read so far.
        if (!file.commit()) {
            end.how = How::WriteFailed;
            end.fileError = file.errorString();
        }
        if (!end.finished()) return end;
    }
    return {};
}

}  // namespace tabulon::reports
