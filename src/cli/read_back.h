#pragma once

#include <QByteArray>
#include <QStringList>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "cli/cli_commands.h"
#include "transfer/run_parts.h"

namespace tabulon::cli {

// How a record read back differs from what was written, one line per field:
// `column "Цена": written "12.50", read back "12.5"`. The written side is
// the record as sent (names already cut, prices already formatted), the read
// side the cells the reply gives, so a name cut to 32 characters compares
// with its first 32 and a price written as "12.50" and read as "12.50" is
// equal. Fields the grid has no column for are not compared. Empty: equal.
QStringList readBackDifferences(TableKind kind, const QByteArray& sent, const QByteArray& reply);
QStringList readBackDifferences(ParameterSet set, Model model, const QByteArray& sent,
                                const QByteArray& reply);

// --verify for a table run: every difference is told, and counts as a
// failed record; with --on-failure abort it also ends the run.
class ReadBackCheck : public transfer::WriteCheck {
public:
    ReadBackCheck(TableKind kind, FailurePolicy policy, transfer::RunControl& control,
                  CliConsole& console)
        : kind_(kind), policy_(policy), control_(control), console_(console) {}

    bool matches(int row, int record, const QByteArray& sent, const QByteArray& reply) override;

private:
    TableKind kind_;
    FailurePolicy policy_;
    transfer::RunControl& control_;
    CliConsole& console_;
};

// What the messages call a grid column (1-based): `column "Цена"`, by the
// grid's header.
QString columnName(TableKind kind, int column);

// The lines telling the differences of one record.
QStringList differenceMessages(int record, const QStringList& differences);

}  // namespace tabulon::cli
