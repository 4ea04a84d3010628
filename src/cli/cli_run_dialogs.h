#pragma once

#include <QList>

#include "cli/cli_commands.h"
#include "transfer/table_run.h"

namespace tabulon::cli {

// The window's questions answered by --on-failure: every failed series and
// every reply with too many fields is told on standard error as it happens.
class CliRunDialogs : public transfer::RunDialogs {
public:
    CliRunDialogs(FailurePolicy policy, CliConsole& console) : policy_(policy), console_(console) {}

    transfer::FailureAnswer askAfterFailure(int record, int linkResult) override;
    transfer::FailureAnswer askAfterFailedRecord(int record, int linkResult,
                                                 link::ResultCause cause,
                                                 const QByteArray& refusal) override;
    void tellBadData(int record, const QByteArray& reply) override;
    void tellSkipped(int record, int linkResult, link::ResultCause cause,
                     const QByteArray& refusal) override;

    // Records whose reply had more fields than the table has.
    const QList<int>& badData() const { return badData_; }

private:
    // "record 7 failed ten times: no answer".
    QString failureLine(int record, int linkResult, link::ResultCause cause) const;

    FailurePolicy policy_;
    CliConsole& console_;
    QList<int> badData_;
};

// What a run on the request's register works with, its questions answered by
// `dialogs`.
transfer::RunParts runParts(const CliContext& context, transfer::RunDialogs& dialogs);

}  // namespace tabulon::cli
