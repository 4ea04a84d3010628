#include "cli/read_back.h"

#include "catalogue/grid_catalogue.h"
#include "catalogue/model_profile.h"
#include "catalogue/parameter_catalogue.h"
#include "text/cp1251.h"
#include "transfer/record_differences.h"
#include "transfer/table_record.h"

namespace tabulon::cli {

namespace {

QString difference(const QString& name, const QString& written,
                   const std::optional<QString>& read) {
    if (!read) return QStringLiteral("%1: written \"%2\", not read back").arg(name, written);
    return QStringLiteral("%1: written \"%2\", read back \"%3\"").arg(name, written, *read);
}

// What the model's window calls a parameter field: its label ("Адаптер:").
QString fieldName(ParameterSet set, Model model, const QString& edit) {
    for (const FieldPresentation& field : modelProfile(model).fields) {
        if (field.edit == edit && !field.text.isEmpty())
            return QStringLiteral("field \"%1\" (%2)").arg(field.text, edit);
    }
    for (const ParameterField& field : parameterTab(set).fields) {
        if (field.edit == edit)
            return QStringLiteral("field \"%1\" (%2)").arg(field.labelText, edit);
    }
    return QStringLiteral("field %1").arg(edit);
}

}  // namespace

QStringList readBackDifferences(TableKind kind, const QByteArray& sent, const QByteArray& reply) {
    const transfer::RecordDifferences found =
        transfer::recordDifferences(kind, sent, ParseTableRecord(kind, reply));
    QStringList differences;
    for (const transfer::FieldDifference& field : found.fields)
        differences << difference(columnName(kind, field.column), field.mine, field.theirs);
    if (found.badData) {
        differences << QStringLiteral("the register sent more fields than the table has: \"%1\"")
                           .arg(text::fromCp1251(reply));
    }
    return differences;
}

QStringList readBackDifferences(ParameterSet set, Model model, const QByteArray& sent,
                                const QByteArray& reply) {
    QStringList differences;
    for (const transfer::ParameterDifference& field :
         transfer::parameterDifferences(set, model, sent, reply))
        differences << difference(fieldName(set, model, field.edit), field.mine, field.theirs);
    return differences;
}

QString columnName(TableKind kind, int column) {
    return QStringLiteral("column \"%1\"").arg(gridShape(kind).headers.value(column));
}

QStringList differenceMessages(int record, const QStringList& differences) {
    QStringList lines;
    for (const QString& difference : differences)
        lines << QStringLiteral("record %1 reads back otherwise: %2").arg(record).arg(difference);
    return lines;
}

bool ReadBackCheck::matches(int, int record, const QByteArray& sent, const QByteArray& reply) {
    const QStringList differences = readBackDifferences(kind_, sent, reply);
    if (differences.isEmpty()) return true;
    for (const QString& line : differenceMessages(record, differences)) console_.message(line);
    if (policy_ == FailurePolicy::Abort) control_.stopRequested = true;
    return false;
}

}  // namespace tabulon::cli
