#include "cli/comparison_texts.h"

#include "cli/cli_commands.h"
#include "cli/read_back.h"
#include "transfer/record_list.h"

namespace tabulon::cli {

namespace {

QString rowList(const QList<int>& rows) {
    return transfer::recordList(rows, {.ranges = true, .limit = 0});
}

}  // namespace

QString comparisonOutput(TableKind kind, const QString& table,
                         const transfer::ComparisonOutcome& outcome) {
    QString output;
    for (const transfer::RowDifference& row : outcome.differing) {
        for (const transfer::FieldDifference& field : row.differences.fields) {
            const QString theirs = field.theirs ? QStringLiteral("\"%1\"").arg(*field.theirs)
                                                : QStringLiteral("(none)");
            output += QStringLiteral("row %1 (record %2), %3: file \"%4\", register %5\n")
                          .arg(row.row)
                          .arg(row.record)
                          .arg(columnName(kind, field.column), field.mine, theirs);
        }
    }
    const qsizetype differ = outcome.differing.size();
    // "1 of 20 rows differs", "2 of 20 rows differ".
    const QString verb = differ == 1 ? QStringLiteral("differs") : QStringLiteral("differ");
    if (!outcome.complete()) {
        const qsizetype compared = outcome.rows - outcome.unreadRows.size();
        return output + QStringLiteral("%1: %2 of %3 compared, %4 %5\n")
                            .arg(table)
                            .arg(compared)
                            .arg(counted(outcome.rows, u"row"))
                            .arg(differ)
                            .arg(verb);
    }
    if (differ == 0) {
        return output + QStringLiteral("%1: no row differs (%2 compared)\n")
                            .arg(table, counted(outcome.rows, u"row"));
    }
    return output + QStringLiteral("%1: %2 of %3 %4\n")
                        .arg(table)
                        .arg(differ)
                        .arg(counted(outcome.rows, u"row"), verb);
}

QString unreadRowsLine(const QList<int>& rows) {
    return QStringLiteral("rows not read, not compared: %1").arg(rowList(rows));
}

}  // namespace tabulon::cli
