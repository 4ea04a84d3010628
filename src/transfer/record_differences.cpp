#include "transfer/record_differences.h"

#include <QStringList>

#include "text/cp1251.h"
#include "transfer/register_tables.h"

namespace tabulon::transfer {

RecordDifferences recordDifferences(TableKind kind, const QByteArray& sent,
                                    const TableReply& reply) {
    const GridTable& table = registerTable(kind);
    // The fields as sent, each closed by ";".
    QStringList written = text::fromCp1251(sent).split(u';');
    written.removeLast();
    RecordDifferences differences;
    differences.badData = reply.badData;
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const int column = table.fields[i].column;
        if (column <= 0) continue;
        const QString mine = written.value(qsizetype(i));
        const std::optional<QString> theirs = column <= reply.cells.size()
                                                  ? std::optional<QString>(reply.cells[column - 1])
                                                  : std::nullopt;
        if (theirs != mine) differences.fields << FieldDifference{column, mine, theirs};
    }
    return differences;
}

}  // namespace tabulon::transfer
