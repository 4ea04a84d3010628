#include "transfer/record_differences.h"

#include <QStringList>

#include "text/cp1251.h"
#include "transfer/parameter_record.h"
#include "transfer/register_tables.h"

namespace tabulon::transfer {

namespace {

// The fields of a record as it was sent, each closed by ";".
QStringList sentFields(const QByteArray& sent) {
    QStringList fields = text::fromCp1251(sent).split(u';');
    fields.removeLast();
    return fields;
}

}  // namespace

RecordDifferences recordDifferences(TableKind kind, const QByteArray& sent,
                                    const TableReply& reply) {
    const GridTable& table = registerTable(kind);
    const QStringList written = sentFields(sent);
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

QList<ParameterDifference> parameterDifferences(ParameterSet set, Model model,
                                                const QByteArray& sent, const QByteArray& reply) {
    const QStringList edits = parameterRecordFields(set, model);
    const QStringList written = sentFields(sent);
    const QStringList read = ParseParameterRecord(set, reply, model);
    QList<ParameterDifference> differences;
    for (qsizetype i = 0; i < edits.size(); ++i) {
        const QString mine = written.value(i);
        const std::optional<QString> theirs =
            i < read.size() ? std::optional<QString>(read[i]) : std::nullopt;
        if (theirs != mine) differences << ParameterDifference{edits[i], mine, theirs};
    }
    return differences;
}

}  // namespace tabulon::transfer
