#include "transfer/parameter_record.h"

#include "catalogue/model_profile.h"
#include "catalogue/parameter_catalogue.h"
#include "text/cp1251.h"
#include "transfer/record_messages.h"
#include "transfer/record_text.h"
#include "transfer/register_tables.h"
#include "transfer/write_limit.h"

namespace tabulon {

namespace {

// Blanks and control characters (all codes up to the space) go from both ends;
// a no-break space or any other character stays.
QString trimmedField(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ') ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ') --end;
    return text.mid(begin, end - begin);
}

// The label the user sees beside the field with the model chosen.
QString fieldLabel(ParameterSet set, const QString& edit, Model model) {
    QString label;
    for (const FieldPresentation& field : modelProfile(model).fields) {
        if (field.edit == edit) label = field.text;
    }
    if (label.isEmpty()) {
        for (const ParameterField& field : parameterTab(set).fields) {
            if (field.edit == edit) label = field.labelText;
        }
    }
    while (label.endsWith(u':') || label.endsWith(u' ')) label.chop(1);
    return label.isEmpty() ? edit : label;
}

}  // namespace

BuiltRecord BuildParameterRecord(ParameterSet set, const QStringList& texts, Model model) {
    const ParameterTable& table = registerTable(set);
    const QStringList edits = parameterRecordFields(set, model);

    QString record;
    for (qsizetype i = 0; i < edits.size(); ++i) {
        const QString field = trimmedField(texts.value(i));
        const auto refuse = [&](RecordError::Kind kind, CharacterProblem problem, qsizetype at) {
            return BuiltRecord{
                {},
                RecordError{
                    kind,
                    fieldRefusalMessage(problem, set, fieldLabel(set, edits[i], model), field, at),
                    fieldProblemEnglish(int(i) + 1, characterProblemEnglish(problem, field, at))}};
        };
        // Blanks and control characters at the ends are trimmed; inside a
        // field a NUL would end the record early and a line break split it.
        if (const qsizetype at = text::firstControl(field); at >= 0)
            return refuse(RecordError::Kind::Control, CharacterProblem::Control, at);
        if (const qsizetype at = text::firstNonCp1251(field); at >= 0)
            return refuse(RecordError::Kind::NotInCodePage, CharacterProblem::NotInCodePage, at);
        record += field;
        record += u';';
    }

    // Every field encoded on its own above.
    QByteArray bytes = text::toCp1251(record).value_or(QByteArray());
    const int length = writeCommandLength(table.tableNumber, table.record, bytes.size());
    if (length > kMaxWriteCommandBytes) {
        return {{},
                RecordError{RecordError::Kind::TooLong, parametersTooLongMessage(set, length),
                            tooLongEnglish(length)}};
    }
    return {std::move(bytes), {}};
}

BuiltRecord BuildParameterRecord(ParameterSet set, const ParameterValues& fields, Model model) {
    QStringList texts;
    for (const QString& edit : parameterRecordFields(set, model)) texts << fields.fieldText(edit);
    return BuildParameterRecord(set, texts, model);
}

QStringList ParseParameterRecord(ParameterSet set, const QByteArray& reply, Model model) {
    return replyFields(reply).mid(0, parameterRecordFields(set, model).size());
}

void ParseParameterRecord(ParameterSet set, const QByteArray& reply, Model model,
                          ParameterValues& fields) {
    const QStringList edits = parameterRecordFields(set, model);
    const QStringList texts = ParseParameterRecord(set, reply, model);
    for (qsizetype i = 0; i < texts.size(); ++i) fields.setFieldText(edits[i], texts[i]);
}

}  // namespace tabulon
