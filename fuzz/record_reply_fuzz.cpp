// The parsers of the register's replies to reads of table records, of the
// parameter sets and of report records. The first byte picks the table and
// the model (or a report), the rest is the reply text. Fields parsed and made
// into a record again give a record that parses back to the same fields and
// makes the same record.
#include "catalogue/table_kind.h"
#include "fuzz_check.h"
#include "reports/report_line.h"
#include "table_choice.h"
#include "transfer/parameter_record.h"
#include "transfer/register_tables.h"
#include "transfer/table_record.h"

using namespace tabulon;

namespace {

// A reply as the register sends it for a record: two leading fields, then the
// record's fields.
QByteArray replyOf(const QByteArray& record) {
    return QByteArrayLiteral("2;1;") + record;
}

void tableReply(TableKind kind, Model model, const QByteArray& reply) {
    const GridTable& table = registerTable(kind);
    const TableReply parsed = ParseTableRecord(kind, reply);
    FUZZ_CHECK(parsed.cells.size() <= table.acceptedReplyFields);
    FUZZ_CHECK(parsed.badData == (reply.count(';') - 2 > table.acceptedReplyFields));
    for (const QString& cell : parsed.cells) FUZZ_CHECK(!cell.contains(u';'));

    const RecordPlace place{1, readRecords(kind, model).first};
    const BuiltRecord built = BuildTableRecord(kind, parsed.cells, model, place);
    if (!built.ok()) return;
    FUZZ_CHECK(built.text.count(';') == qsizetype(table.fields.size()));
    // The register replies with the fields it keeps: a record may carry more
    // (the operators' last "0"), which it does not reply.
    QByteArray kept;
    for (const QByteArray& field : built.text.split(';').mid(0, table.acceptedReplyFields))
        kept += field + ';';
    const TableReply again = ParseTableRecord(kind, replyOf(kept));
    FUZZ_CHECK(!again.badData);
    const BuiltRecord rebuilt = BuildTableRecord(kind, again.cells, model, place);
    FUZZ_CHECK(rebuilt.ok() && rebuilt.text == built.text);
}

void parameterReply(ParameterSet set, Model model, const QByteArray& reply) {
    const QStringList edits = parameterRecordFields(set, model);
    const QStringList texts = ParseParameterRecord(set, reply, model);
    FUZZ_CHECK(texts.size() <= edits.size());
    for (const QString& text : texts) FUZZ_CHECK(!text.contains(u';'));

    const BuiltRecord built = BuildParameterRecord(set, texts, model);
    if (!built.ok()) return;
    FUZZ_CHECK(built.text.count(';') == edits.size());
    const QStringList again = ParseParameterRecord(set, replyOf(built.text), model);
    FUZZ_CHECK(again.size() == edits.size());
    // Trimmed once, the fields stay as they are.
    const BuiltRecord rebuilt = BuildParameterRecord(set, again, model);
    FUZZ_CHECK(rebuilt.ok() && rebuilt.text == built.text);
}

// A report's reply becomes a file line: the first field and the last
// character go, every ";" becomes the separator, and nothing else changes.
void reportReply(char separator, const QByteArray& reply) {
    const QByteArray line = reports::reportLine(reply, separator);
    const qsizetype from = reply.indexOf(';') + 1;
    FUZZ_CHECK(line.size() == std::max<qsizetype>(0, reply.size() - from - 1));
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char was = reply[from + i];
        FUZZ_CHECK(line[i] == (was == ';' ? separator : was));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const auto [choice, tab, model] = fuzz::chooseTable(choices);
    const QByteArray reply(reinterpret_cast<const char*>(data), qsizetype(size));
    if (choice >= 240) {
        reportReply(char(choices.next()), reply);
    } else if (isGridTab(tab)) {
        tableReply(tableKindOfTab(tab), model, reply);
    } else {
        parameterReply(parameterSetOfTab(tab), model, reply);
    }
    return 0;
}
