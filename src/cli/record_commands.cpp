#include "cli/record_commands.h"

#include <functional>

#include "catalogue/table_kind.h"
#include "cli/cli_port.h"
#include "cli/table_names.h"
#include "link/register_link.h"
#include "link/result_codes.h"
#include "text/cp1251.h"
#include "transfer/register_tables.h"

namespace tabulon::cli {

namespace {

using link::Operation;

struct TableAndRecord {
    int table = 0;
    int record = 0;
};

// TABLE is a name of the table commands ("goods") or the register's number
// of a table ("0").
std::optional<int> registerTableOf(const QString& table) {
    if (const std::optional<int> tab = tableTab(table)) {
        return isGridTab(*tab) ? registerTableNumber(tableKindOfTab(*tab))
                               : registerTableNumber(parameterSetOfTab(*tab));
    }
    bool ok = false;
    const int number = table.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<TableAndRecord> tableAndRecord(const QStringList& arguments) {
    bool recordOk = false;
    const std::optional<int> table = registerTableOf(arguments.value(0));
    const int record = arguments.value(1).toInt(&recordOk);
    if (!table || !recordOk) return std::nullopt;
    return TableAndRecord{*table, record};
}

CliResult notTableAndRecord() {
    return usageError(QStringLiteral("TABLE is one of %1 or a register table number; RECORD is "
                                     "a whole number")
                          .arg(tableNames().join(QStringLiteral(", "))));
}

// Opens the port, does the operation, closes the port. The operation's own
// failure counts before one of closing.
CliResult exchange(const CliContext& context, Operation operation,
                   const std::function<int(link::RegisterLink&, int registerNumber)>& run,
                   const std::function<QString()>& output = {}) {
    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    const int done = run(context.link, context.request.registerNumber);
    const QString failed = done < 0 ? linkError(context.link, operation, done) : QString();
    const std::optional<CliResult> closing = closePort(context);
    if (done < 0) return failure(failed);
    if (closing) return *closing;
    return {kExitDone, output ? output() : QString(), QString(), false};
}

}  // namespace

CliResult runDetect(const CliContext& context) {
    return exchange(
        context, Operation::DetectRegister,
        [](link::RegisterLink& link, int number) { return link.DetectRegister(number); },
        [] { return QStringLiteral("found\n"); });
}

CliResult runReadRecord(const CliContext& context) {
    const std::optional<TableAndRecord> at = tableAndRecord(context.request.arguments);
    if (!at) return notTableAndRecord();
    QByteArray reply;
    return exchange(
        context, Operation::ReadRecord,
        [&](link::RegisterLink& link, int number) {
            return link.ReadRecord(number, at->table, at->record, reply);
        },
        [&] { return text::fromCp1251(reply) + u'\n'; });
}

CliResult runWriteRecord(const CliContext& context) {
    const std::optional<TableAndRecord> at = tableAndRecord(context.request.arguments);
    if (!at) return notTableAndRecord();
    // Refused before the port is touched: the encoder would put a substitute
    // byte on the line.
    const QString& typed = context.request.arguments[2];
    const std::optional<QByteArray> data = text::toCp1251(typed);
    if (!data) {
        return failure(
            QStringLiteral("error: DATA holds a character that Windows-1251 cannot encode: %1")
                .arg(text::describeCharacter(typed, text::firstNonCp1251(typed))));
    }
    return exchange(
        context, Operation::WriteRecord,
        [&](link::RegisterLink& link, int number) {
            return link.WriteRecord(number, at->table, at->record, *data);
        },
        [&] {
            return QStringLiteral("record %1 of table %2 written\n").arg(at->record).arg(at->table);
        });
}

CliResult runReset(const CliContext& context) {
    return exchange(context, Operation::ResetLink,
                    [](link::RegisterLink& link, int) { return link.ResetLink(); });
}

}  // namespace tabulon::cli
