#include "transfer/table_record.h"

#include <optional>

#include "text/cp1251.h"
#include "text/decimal_number.h"
#include "transfer/record_messages.h"
#include "transfer/record_text.h"
#include "transfer/register_tables.h"
#include "transfer/write_limit.h"

namespace tabulon {

namespace {

struct FieldText {
    QString text;
    std::optional<QString> conversionError;
};

FieldText number(const QString& cell, int decimals) {
    std::optional<QString> field =
        text::formatDecimal(cell.isEmpty() ? QStringView(u"0") : QStringView(cell), decimals);
    if (!field) return {{}, text::invalidFloatMessage(cell)};
    return {std::move(*field), {}};
}

FieldText fieldText(const RecordField& field, const QString& cell, Model model) {
    const int cut = field.cut[static_cast<int>(model)];
    switch (field.rule) {
        case FieldRule::AsIs:
            return {cell, {}};
        case FieldRule::Cut:
            return {cell.left(cut), {}};
        case FieldRule::CutZeroIfEmpty:
            return {cell.isEmpty() ? QStringLiteral("0") : cell.left(cut), {}};
        case FieldRule::Price:
            return number(cell, 2);
        case FieldRule::Quantity:
            return number(cell, 3);
        case FieldRule::Zero:
            return {QStringLiteral("0"), {}};
    }
    return {};
}

// The first field that holds a character the record cannot carry, named by
// its cell. Every field that can hold one is the start of its cell, so the
// position found in the field is that in the cell, and the message can show
// the whole character even where a cut split it.
std::optional<RecordError> unsafeCharacter(TableKind kind, const GridTable& table,
                                           const QStringList& cells,
                                           const std::vector<QString>& fields, int row) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int column = table.fields[i].column;
        const QString& cell = cells.value(column - 1);
        if (const qsizetype at = text::firstControl(fields[i]); at >= 0) {
            return RecordError{
                RecordError::Kind::Control,
                cellRefusalMessage(CharacterProblem::Control, kind, row, column, cell, at),
                cellProblemEnglish(row, column,
                                   characterProblemEnglish(CharacterProblem::Control, cell, at))};
        }
        if (const qsizetype at = text::firstNonCp1251(fields[i]); at >= 0) {
            return RecordError{
                RecordError::Kind::NotInCodePage,
                cellRefusalMessage(CharacterProblem::NotInCodePage, kind, row, column, cell, at),
                cellProblemEnglish(
                    row, column,
                    characterProblemEnglish(CharacterProblem::NotInCodePage, cell, at))};
        }
    }
    return std::nullopt;
}

}  // namespace

BuiltRecord BuildTableRecord(TableKind kind, const QStringList& cells, Model model,
                             RecordPlace place) {
    const GridTable& table = registerTable(kind);

    QString record;
    std::vector<QString> fields;
    fields.reserve(table.fields.size());
    for (const RecordField& field : table.fields) {
        const QString cell = field.column > 0 ? cells.value(field.column - 1) : QString();
        FieldText made = fieldText(field, cell, model);
        if (made.conversionError) {
            return {
                {},
                RecordError{RecordError::Kind::NotANumber,
                            *made.conversionError + u'\n' +
                                cellNotANumberMessage(kind, place.row, field.column, cell),
                            cellProblemEnglish(place.row, field.column, *made.conversionError)}};
        }
        record += made.text;
        record += u';';
        fields.push_back(std::move(made.text));
    }

    std::optional<QByteArray> bytes = text::toCp1251(record);
    if (!bytes || text::firstControl(record) >= 0) {
        // ";" and the digits of the number rules are always safe, so a cell
        // is to blame and is found.
        std::optional<RecordError> error = unsafeCharacter(kind, table, cells, fields, place.row);
        return {
            {},
            error.value_or(RecordError{RecordError::Kind::NotInCodePage, QString(), QString()})};
    }

    const int length = writeCommandLength(table.tableNumber, place.record, bytes->size());
    if (length > kMaxWriteCommandBytes) {
        return {
            {},
            RecordError{RecordError::Kind::TooLong, rowTooLongMessage(kind, place.row, length),
                        QStringLiteral("row %1: %2").arg(place.row).arg(tooLongEnglish(length))}};
    }
    return {std::move(*bytes), {}};
}

TableReply ParseTableRecord(TableKind kind, const QByteArray& reply) {
    const int accepted = registerTable(kind).acceptedReplyFields;
    TableReply result;
    result.cells = replyFields(reply);
    if (result.cells.size() > accepted) {
        result.cells.resize(accepted);
        result.badData = true;
    }
    return result;
}

}  // namespace tabulon
