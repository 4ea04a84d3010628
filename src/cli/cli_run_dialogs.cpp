#include "cli/cli_run_dialogs.h"

#include "cli/cli_port.h"
#include "text/cp1251.h"

namespace tabulon::cli {

transfer::FailureAnswer CliRunDialogs::askAfterFailure(int record, int linkResult) {
    // Every run asks with the cause; the number alone has no words to spare.
    return askAfterFailedRecord(record, linkResult, link::ResultCause::Done, {});
}

transfer::FailureAnswer CliRunDialogs::askAfterFailedRecord(int record, int linkResult,
                                                            link::ResultCause cause,
                                                            const QByteArray&) {
    // A record that could not be sent at all was never tried by the register.
    const bool notSent =
        cause == link::ResultCause::PortNotOpen || cause == link::ResultCause::ServerUnreachable;
    const QString line =
        (notSent ? QStringLiteral("record %1 not sent: %2")
                 : QStringLiteral("record %1 failed ten times: %2"))
            .arg(record)
            .arg(causeWords(link::Operation::WriteRecord, cause, linkResult));
    // Skipping presumes the next record can go out. One that waited out the
    // reopening in vain would only be followed by every other record waiting
    // as long (hours for a goods table) for a port that is gone.
    if (policy_ == FailurePolicy::Skip && notSent) {
        console_.message(line + QStringLiteral("; the run ends there"));
        return transfer::FailureAnswer::End;
    }
    if (policy_ == FailurePolicy::Skip) {
        console_.message(line + QStringLiteral("; skipped"));
        return transfer::FailureAnswer::Skip;
    }
    console_.message(line);
    return transfer::FailureAnswer::End;
}

void CliRunDialogs::tellBadData(int record, const QByteArray& reply) {
    badData_ << record;
    console_.message(
        QStringLiteral("record %1: the register sent more fields than the table has: \"%2\"")
            .arg(record)
            .arg(text::fromCp1251(reply)));
}

transfer::RunParts runParts(const CliContext& context, transfer::RunDialogs& dialogs) {
    const CliRequest& request = context.request;
    return transfer::RunParts{
        context.link,
        transfer::Connection{request.registerNumber, context.portNumber, request.speed}, dialogs,
        context.control};
}

}  // namespace tabulon::cli
