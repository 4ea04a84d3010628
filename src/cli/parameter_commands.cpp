#include "cli/parameter_commands.h"

#include "catalogue/parameter_values.h"
#include "cli/cli_port.h"
#include "cli/cli_run_dialogs.h"
#include "cli/read_back.h"
#include "cli/stop_signals.h"
#include "cli/table_file_io.h"
#include "disk/safe_save.h"
#include "files/file_layout.h"
#include "link/register_link.h"
#include "transfer/parameter_record.h"
#include "transfer/register_tables.h"
#include "transfer/table_run.h"

namespace tabulon::cli {

namespace {

// How the one record of a set went.
struct ParameterRun {
    bool done = false;        // written (read)
    bool differs = false;     // --verify: the register holds something else
    bool unverified = false;  // --verify: written, but reading it back failed
    bool signalled = false;
    QStringList problems;  // why it was not done, where nothing else says so
    std::optional<CliResult> closing;
};

// The record on standard output when it was done, what went wrong on
// standard error. `where` follows the verb on standard output only.
CliResult outcome(const CliContext& context, const QString& name, const QString& verb,
                  const QString& where, const ParameterRun& run) {
    if (context.tally) {
        const bool done = run.done && !run.differs && !run.unverified;
        QString why = run.problems.value(0);
        if (why.isEmpty() && !done) why = QStringLiteral("record 1 not %1").arg(verb);
        if (run.signalled && !done) why = QStringLiteral("stopped by a signal");
        // A signal before the record went out leaves it untried.
        const bool untried = run.signalled && !run.done && run.problems.isEmpty();
        *context.tally = RunTally{true, done ? 1 : 0, done || untried ? 0 : 1, untried ? 1 : 0,
                                  done ? QString() : why};
    }
    CliResult result;
    if (run.done && !run.differs)
        result.output = QStringLiteral("%1: %2%3\n").arg(name, verb, where);
    QStringList lines;
    if (run.signalled) lines << QStringLiteral("stopped by a signal");
    lines << run.problems;
    if (!run.done || run.differs) lines << QStringLiteral("record 1 not %1").arg(verb);
    if (run.unverified) lines << QStringLiteral("record 1 %1, not verified").arg(verb);
    if (run.closing) lines << run.closing->error;
    if (!lines.isEmpty()) {
        result.status = kExitFailed;
        result.error = lines.join(u'\n');
    }
    return result;
}

// A signal asked for the registers to be released, as "Стоп" does between
// two records of a grid run.
void releaseIfAsked(const CliContext& context) {
    if (context.control.resetRequested.exchange(false)) context.link.ResetLink();
}

// The fields of the model's record that no table file carries (the service
// set's Edit36 on Neon, Edit37 on the Datecs MP-50 Junior).
QStringList fieldsOutsideFile(ParameterSet set, Model model) {
    const QStringList inFile = files::parameterFileLayout(set, model).fields;
    QStringList outside;
    for (const QString& field : parameterRecordFields(set, model)) {
        if (!inFile.contains(field)) outside << field;
    }
    return outside;
}

// The fields the file does not carry, as the register holds them: a write
// must not blank what the window would have kept in its fields.
bool takeFieldsOutsideFile(ParameterSet set, Model model, transfer::RunParts& parts,
                           ParameterMap& fields, ParameterRun& run) {
    const QStringList outside = fieldsOutsideFile(set, model);
    if (outside.isEmpty()) return true;
    const QString names = outside.join(QStringLiteral(", "));
    const std::optional<QByteArray> reply = transfer::readParameters(set, parts);
    if (!reply) {
        run.problems << QStringLiteral(
                            "record 1 was to be read first, for %1, which the file "
                            "does not carry")
                            .arg(names);
        return false;
    }
    const QStringList held = ParseParameterRecord(set, *reply, model);
    const QStringList order = parameterRecordFields(set, model);
    for (const QString& field : outside) {
        const qsizetype at = order.indexOf(field);
        if (at >= held.size()) {
            run.problems << QStringLiteral(
                                "the register's record 1 ends before %1, which the "
                                "file does not carry")
                                .arg(field);
            return false;
        }
        fields.setFieldText(field, held[at]);
    }
    return true;
}

void writeRecord(const CliContext& context, ParameterSet set, transfer::RunParts& parts,
                 ParameterMap& fields, ParameterRun& run) {
    const Model model = context.request.model;
    if (!takeFieldsOutsideFile(set, model, parts, fields, run)) return;
    // A signal during that read: the record in hand is done, nothing follows.
    if (context.control.stopRequested) return;
    const BuiltRecord built = BuildParameterRecord(set, fields, model);
    if (!built.ok()) {
        run.problems << built.error->english;
        return;
    }
    run.done = transfer::writeParameters(set, built.text, parts) == transfer::RecordOutcome::Done;
    if (!run.done || !context.request.verify) return;
    const std::optional<QByteArray> reply = transfer::readParameters(set, parts);
    if (!reply) {
        run.unverified = true;
        return;
    }
    const QStringList differences = readBackDifferences(set, model, built.text, *reply);
    for (const QString& line : differenceMessages(1, differences)) context.console.message(line);
    run.differs = !differences.isEmpty();
}

}  // namespace

CliResult writeParameterSet(const CliContext& context, ParameterSet set, const QString& name,
                            const QString& path) {
    const CliRequest& request = context.request;
    ParameterMap fields;
    if (auto error = loadParameterFile(path, set, request.model, fields, context.console))
        return inputError(*error);
    // The file's own values are checked before the port is touched.
    const BuiltRecord built = BuildParameterRecord(set, fields, request.model);
    if (!built.ok()) return inputError(built.error->english + QStringLiteral("\nnothing was sent"));

    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    CliRunDialogs dialogs(request.onFailure, context.console);
    transfer::RunParts parts = runParts(context, dialogs);
    ParameterRun run;
    {
        const StopOnSignals stop(context.control);
        writeRecord(context, set, parts, fields, run);
        run.signalled = stop.caught();
    }
    releaseIfAsked(context);
    run.closing = closePort(context);
    return outcome(context, name, QStringLiteral("written"), QString(), run);
}

CliResult readParameterSet(const CliContext& context, ParameterSet set, const QString& name,
                           const QString& path) {
    const CliRequest& request = context.request;
    disk::SafeSave file(path);
    if (auto error = openOutput(file)) return inputError(*error);
    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    CliRunDialogs dialogs(request.onFailure, context.console);
    transfer::RunParts parts = runParts(context, dialogs);
    ParameterRun run;
    std::optional<QByteArray> reply;
    {
        const StopOnSignals stop(context.control);
        reply = transfer::readParameters(set, parts);
        run.signalled = stop.caught();
    }
    releaseIfAsked(context);
    run.closing = closePort(context);
    run.done = reply.has_value();
    // A stopped read leaves no file, as a stopped grid read does.
    if (!run.done || run.signalled) {
        file.cancel();
        CliResult result = outcome(context, name, QStringLiteral("read"), QString(), run);
        result.error += QStringLiteral("\n%1 not written").arg(path);
        return result;
    }
    // The fields the reply does not reach stay empty, as in a window just
    // started.
    ParameterMap fields;
    ParseParameterRecord(set, *reply, request.model, fields);
    if (std::optional<QString> error = commitParameterFile(file, fields, set, request.model)) {
        run.problems << *error;
        return outcome(context, name, QStringLiteral("read"), QString(), run);
    }
    return outcome(context, name, QStringLiteral("read"), QStringLiteral(" into %1").arg(path),
                   run);
}

}  // namespace tabulon::cli
