#include "cli/table_commands.h"

#include <algorithm>
#include <variant>

#include "catalogue/grid_model.h"
#include "cli/cli_port.h"
#include "cli/cli_run_dialogs.h"
#include "cli/comparison_texts.h"
#include "cli/fleet_grid_files.h"
#include "cli/import_commands.h"
#include "cli/parameter_commands.h"
#include "cli/progress_line.h"
#include "cli/read_back.h"
#include "cli/stop_signals.h"
#include "cli/table_file_io.h"
#include "cli/table_names.h"
#include "disk/safe_save.h"
#include "files/file_layout.h"
#include "link/result_codes.h"
#include "transfer/grid_rows.h"
#include "transfer/record_list.h"
#include "transfer/register_tables.h"
#include "transfer/table_comparison.h"
#include "transfer/table_run.h"

namespace tabulon::cli {

namespace {

using transfer::Direction;
using transfer::RunOutcome;
using transfer::RunPlan;

class GridSource : public transfer::RowSource {
public:
    GridSource(const GridModel& grid, TableKind kind) : grid_(grid), kind_(kind) {}
    QStringList rowCells(int row) const override { return recordCells(grid_, kind_, row); }

private:
    const GridModel& grid_;
    TableKind kind_;
};

class GridSink : public transfer::RowSink {
public:
    explicit GridSink(GridModel& grid) : grid_(grid) {}
    void putRow(int row, const TableReply& reply) override { fillRow(grid_, row, reply); }

private:
    GridModel& grid_;
};

// "3, 7-12, 40", however many there are.
QString recordList(const QList<int>& records) {
    return transfer::recordList(records, {.ranges = true, .limit = 0});
}

// Where the command stands before it goes to the register: the table and the
// checks that need no register behind it.
struct Table {
    int tab;
    QString name;
    bool grid() const { return isGridTab(tab); }
    TableKind kind() const { return tableKindOfTab(tab); }
    ParameterSet set() const { return parameterSetOfTab(tab); }
};

std::variant<Table, CliResult> tableOf(const CliContext& context) {
    const QString& name = context.request.arguments.value(0);
    const std::optional<int> tab = tableTab(name);
    if (!tab) {
        return usageError(QStringLiteral("unknown table %1; TABLE is one of %2")
                              .arg(name, tableNames().join(QStringLiteral(", "))));
    }
    const Table table{*tab, name};
    if (context.request.interval && !(table.grid() && table.kind() == TableKind::Goods))
        return usageError(QStringLiteral("--interval goes with the goods table only"));
    if (!context.request.onlyChanged.isEmpty() && !table.grid())
        return usageError(QStringLiteral("--only-changed goes with a grid table only"));
    if (context.request.onlyDiffering && !table.grid())
        return usageError(QStringLiteral("--only-differing goes with a grid table only"));
    if (context.request.onlyDiffering && !context.request.onlyChanged.isEmpty()) {
        return usageError(QStringLiteral(
            "--only-differing does not go with --only-changed: one reads the register, the "
            "other an old file"));
    }
    return table;
}

std::variant<RunPlan, CliResult> planOf(const CliContext& context, Direction direction,
                                        TableKind kind) {
    const transfer::PlanResult planned =
        transfer::planTableRun(direction, kind, context.request.model, context.request.interval);
    if (!planned.plan) return inputError(QStringLiteral("--interval: %1").arg(planned.error));
    return *planned.plan;
}

// How a run on the register went, the port closed again.
struct Ran {
    RunOutcome outcome;
    bool signalled = false;
    QList<int> badData;
    std::optional<CliResult> closing;

    bool complete() const {
        return !outcome.stopped && outcome.failedRecords.isEmpty() &&
               outcome.unverifiedRecords.isEmpty() && badData.isEmpty() && !closing;
    }
};

// "record 17: the register refused the record ("E" reply)"
QString firstFailure(const RunPlan& plan, const Ran& ran) {
    const RunOutcome& outcome = ran.outcome;
    const link::Operation operation = plan.direction == Direction::Read
                                          ? link::Operation::ReadRecord
                                          : link::Operation::WriteRecord;
    QMap<int, QString> why;
    for (int record : outcome.failedRecords) {
        const auto cause = outcome.failureCauses.constFind(record);
        why.insert(record, cause == outcome.failureCauses.cend()
                               ? QStringLiteral("not done")
                               : causeWords(operation, *cause, 0));
    }
    for (int record : outcome.unverifiedRecords)
        why.insert(record, QStringLiteral("written, not verified"));
    for (int record : ran.badData)
        why.insert(record, QStringLiteral("the register sent more fields than the table has"));
    if (why.isEmpty()) return ran.signalled ? QStringLiteral("stopped by a signal") : QString();
    return QStringLiteral("record %1: %2").arg(why.firstKey()).arg(why.first());
}

void count(const CliContext& context, const RunPlan& plan, const Ran& ran) {
    if (!context.tally) return;
    RunTally& tally = *context.tally;
    const RunOutcome& outcome = ran.outcome;
    tally.counted = true;
    tally.done = outcome.done - int(outcome.unverifiedRecords.size());
    tally.failed =
        int(outcome.failedRecords.size() + outcome.unverifiedRecords.size() + ran.badData.size());
    tally.skipped = std::max(
        0, plan.rowCount() - outcome.done - int(outcome.failedRecords.size() + ran.badData.size()));
    tally.firstFailure = firstFailure(plan, ran);
}

// With `comparison`, the plan's records are read and compared with the rows
// of `source` instead of being written.
std::variant<Ran, CliResult> runOnRegister(const CliContext& context, const Table& table,
                                           const RunPlan& plan, const transfer::RowSource* source,
                                           transfer::RowSink* sink,
                                           transfer::ComparisonOutcome* comparison = nullptr) {
    // A port that does not open leaves every record untried.
    if (context.tally) *context.tally = RunTally{true, 0, 0, plan.rowCount(), QString()};
    if (std::optional<CliResult> refused = openPort(context)) return *refused;
    const CliRequest& request = context.request;
    CliRunDialogs dialogs(request.onFailure, context.console);
    ProgressLine progress(context.console, table.name, plan.rowCount());
    ReadBackCheck check(table.kind(), request.onFailure, context.control, context.console);
    transfer::RunParts parts = runParts(context, dialogs);
    parts.progress = &progress;
    parts.source = source;
    parts.sink = sink;
    if (request.verify) parts.check = &check;

    Ran ran;
    {
        const StopOnSignals stop(context.control);
        if (comparison) {
            *comparison = transfer::compareTable(plan, parts);
            ran.outcome = comparison->run;
        } else {
            ran.outcome = transfer::runTable(plan, parts);
        }
        ran.signalled = stop.caught();
    }
    context.console.endProgress();
    ran.badData = dialogs.badData();
    ran.closing = closePort(context);
    count(context, plan, ran);
    return ran;
}

// The outcome on standard output, what went wrong on standard error.
// `notDone` follows the list of the records not done.
CliResult report(const Table& table, const QString& verb, int total, const Ran& ran,
                 const QString& extra = QString(), const QString& notDone = QString()) {
    const RunOutcome& outcome = ran.outcome;
    CliResult result;
    const QString done =
        outcome.done == total
            ? counted(total, u"record")
            : QStringLiteral("%1 of %2").arg(outcome.done).arg(counted(total, u"record"));
    result.output = QStringLiteral("%1: %2 %3%4\n").arg(table.name, done, verb, extra);
    if (ran.complete()) return result;

    result.status = kExitFailed;
    QStringList lines;
    if (outcome.stopped) {
        const qsizetype untried =
            total - outcome.done - outcome.failedRecords.size() - ran.badData.size();
        lines << QStringLiteral("stopped%1: %2 not tried")
                     .arg(ran.signalled ? QStringLiteral(" by a signal") : QString(),
                          counted(untried, u"record"));
    }
    if (!outcome.failedRecords.isEmpty()) {
        lines << QStringLiteral("records not %1: %2").arg(verb, recordList(outcome.failedRecords)) +
                     notDone;
    }
    if (!outcome.unverifiedRecords.isEmpty()) {
        lines << QStringLiteral("records %1, not verified: %2")
                     .arg(verb, recordList(outcome.unverifiedRecords));
    }
    if (!ran.badData.isEmpty())
        lines << QStringLiteral("records with bad data: %1").arg(recordList(ran.badData));
    if (ran.closing) lines << ran.closing->error;
    result.error = lines.join(u'\n');
    return result;
}

QList<int> changedRows(const GridModel& grid, const GridModel& old, TableKind kind,
                       const RunPlan& plan) {
    const int values = registerTable(kind).dataColumns;
    QList<int> rows;
    for (int row = plan.firstRow; row <= plan.lastRow; ++row) {
        if (plan.visits(row) && grid.rowCells(row, values) != old.rowCells(row, values))
            rows << row;
    }
    return rows;
}

// An interval may reach past the file's lines (rows 5001 on, with a goods file
// of the Datecs MP-50 Junior): the file has no such rows, and their empty
// cells would blank the records.
std::optional<CliResult> rowsPastFile(const Table& table, Model model, const RunPlan& plan) {
    const int lines = files::gridFileLayout(table.kind(), model).lines;
    if (plan.lastRow <= lines) return std::nullopt;
    const int first = std::max(plan.firstRow, lines + 1);
    const QString rows = first == plan.lastRow
                             ? QStringLiteral("row %1 is").arg(first)
                             : QStringLiteral("rows %1-%2 are").arg(first).arg(plan.lastRow);
    return inputError(QStringLiteral("--interval: %1 past the %2 lines of %3 files for %4")
                          .arg(rows)
                          .arg(lines)
                          .arg(table.name, modelName(model)));
}

// An interval takes no row after its last: a file that ends there will do.
std::optional<int> rowsNeeded(const CliRequest& request, const RunPlan& plan) {
    return request.interval ? std::optional<int>(plan.lastRow) : std::nullopt;
}

// The rows of a table file as a write of them plans them: the file's own
// grid, or in a fleet the one every register shares.
struct FileRows {
    RunPlan plan;
    std::shared_ptr<const GridModel> grid;
};

// A table file's grid, read for this command or taken from the fleet's.
std::variant<std::shared_ptr<const GridModel>, QString> gridFile(const CliContext& context,
                                                                 const QString& path,
                                                                 TableKind kind,
                                                                 std::optional<int> rowsNeeded) {
    if (context.gridFiles) {
        FleetGridFiles::Loaded loaded =
            context.gridFiles->load(path, kind, context.request.model, rowsNeeded);
        // Told to every register as it would be told reading the file itself.
        for (const QString& note : loaded.notes) context.console.message(note);
        if (!loaded.grid) return loaded.error;
        return loaded.grid;
    }
    std::shared_ptr<GridModel> grid = emptyGrid(kind);
    if (auto error =
            loadGridFile(path, kind, context.request.model, *grid, context.console, rowsNeeded))
        return *error;
    return std::shared_ptr<const GridModel>(std::move(grid));
}

std::variant<FileRows, CliResult> fileRows(const CliContext& context, const Table& table,
                                           const QString& path) {
    const CliRequest& request = context.request;
    auto planned = planOf(context, Direction::Write, table.kind());
    if (auto* refused = std::get_if<CliResult>(&planned)) return *refused;
    FileRows rows{std::get<RunPlan>(planned), nullptr};
    if (std::optional<CliResult> refused = rowsPastFile(table, request.model, rows.plan))
        return *refused;
    // A price list names the goods it changes: only its rows are sent.
    if (isSpreadsheetFile(path)) {
        QStringList told;
        std::shared_ptr<GridModel> grid = emptyGrid(table.kind());
        rows.grid = grid;
        auto imported = importSpreadsheet(request, table.kind(), path, *grid, told, told);
        for (const QString& line : told) context.console.message(line);
        if (auto* refused = std::get_if<CliResult>(&imported)) {
            if (!refused->showUsage) refused->error += QStringLiteral("\nnothing was sent");
            return *refused;
        }
        QList<int>& only = rows.plan.onlyRows.emplace();
        QList<int> outside;
        for (int row : std::get<QList<int>>(imported)) {
            (row >= rows.plan.firstRow && row <= rows.plan.lastRow ? only : outside) << row;
        }
        // An interval leaves rows out by the user's choice; the table's own
        // records do not, and a row of the file would go nowhere unsaid.
        if (!request.interval && !outside.isEmpty()) {
            return inputError(
                QStringLiteral("%1: rows the register has no record for: %2 (%3 go into rows %4 "
                               "to %5)\nnothing was sent")
                    .arg(path, recordList(outside), table.name)
                    .arg(rows.plan.firstRow)
                    .arg(rows.plan.lastRow));
        }
        if (only.isEmpty())
            return inputError(QStringLiteral("%1: no row of it is in --interval").arg(path));
        return rows;
    }
    auto loaded = gridFile(context, path, table.kind(), rowsNeeded(request, rows.plan));
    if (auto* error = std::get_if<QString>(&loaded)) return inputError(*error);
    rows.grid = std::get<std::shared_ptr<const GridModel>>(loaded);
    return rows;
}

// What the register holds against the rows of the plan, read through the
// run of a read.
struct Compared {
    Ran ran;
    transfer::ComparisonOutcome outcome;
    bool complete() const { return outcome.complete() && ran.complete(); }
};

std::variant<Compared, CliResult> compareWithRegister(const CliContext& context, const Table& table,
                                                      const RunPlan& plan,
                                                      const transfer::RowSource& source) {
    Compared compared;
    auto ran = runOnRegister(context, table, plan, &source, nullptr, &compared.outcome);
    if (auto* refused = std::get_if<CliResult>(&ran)) return *refused;
    compared.ran = std::get<Ran>(ran);
    if (context.tally && compared.complete())
        context.tally->differing = int(compared.outcome.differing.size());
    return compared;
}

// The differences found on standard output; on standard error the rows that
// could not be compared, and a port that did not close.
CliResult comparisonResult(const Table& table, const Compared& compared) {
    if (compared.outcome.refusal)
        return inputError(compared.outcome.refusal->english + QStringLiteral("\nnothing was read"));
    CliResult result;
    result.output = comparisonOutput(table.kind(), table.name, compared.outcome);
    if (compared.complete()) {
        result.status = compared.outcome.differing.isEmpty() ? kExitDone : kExitFailed;
        return result;
    }
    result.status = kExitFailed;
    QStringList lines;
    if (!compared.outcome.unreadRows.isEmpty())
        lines << unreadRowsLine(compared.outcome.unreadRows);
    if (compared.ran.closing) lines << compared.ran.closing->error;
    result.error = lines.join(u'\n');
    return result;
}

// --only-differing: the plan narrowed to the rows the register holds
// otherwise, and those it did not give; nullopt when none is left. A
// comparison that ended early ends the command: the rows after it were
// never looked at.
std::variant<std::optional<RunPlan>, CliResult> differingOnly(const CliContext& context,
                                                              const Table& table, RunPlan plan,
                                                              const transfer::RowSource& source) {
    auto found = compareWithRegister(context, table, plan, source);
    if (auto* refused = std::get_if<CliResult>(&found)) return *refused;
    const Compared& compared = std::get<Compared>(found);
    if (compared.ran.outcome.stopped || compared.ran.closing) {
        // The records read are none written: a fleet report counts none done.
        if (context.tally) {
            context.tally->done = 0;
            context.tally->skipped = plan.rowCount() - context.tally->failed;
        }
        CliResult result = comparisonResult(table, compared);
        result.status = kExitFailed;
        result.error += QStringLiteral("\nnothing written");
        return result;
    }
    QList<int> rows = compared.outcome.differingRows() + compared.outcome.unreadRows;
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) return std::optional<RunPlan>();
    if (!compared.outcome.unreadRows.isEmpty()) {
        context.console.message(
            QStringLiteral("rows not read, their state unknown; written all the same: %1")
                .arg(recordList(compared.outcome.unreadRows)));
    }
    plan.onlyRows = rows;
    return std::optional<RunPlan>(plan);
}

CliResult writeGrid(const CliContext& context, const Table& table, const QString& path) {
    const CliRequest& request = context.request;
    auto loaded = fileRows(context, table, path);
    if (auto* refused = std::get_if<CliResult>(&loaded)) return *refused;
    RunPlan& plan = std::get<FileRows>(loaded).plan;
    const GridModel* grid = std::get<FileRows>(loaded).grid.get();

    if (!request.onlyChanged.isEmpty()) {
        auto old = gridFile(context, request.onlyChanged, table.kind(), rowsNeeded(request, plan));
        if (auto* error = std::get_if<QString>(&old)) return inputError(*error);
        plan.onlyRows = changedRows(*grid, *std::get<std::shared_ptr<const GridModel>>(old),
                                    table.kind(), plan);
        if (plan.onlyRows->isEmpty()) {
            return {kExitDone,
                    QStringLiteral("%1: no row differs from %2; nothing written\n")
                        .arg(table.name, request.onlyChanged),
                    QString(), false};
        }
    }
    // Every row of the run is made into its record before the first goes out.
    const GridSource source(*grid, table.kind());
    if (std::optional<RecordError> refusal = transfer::firstRefusedRow(plan, source))
        return inputError(refusal->english + QStringLiteral("\nnothing was sent"));

    if (request.onlyDiffering) {
        auto narrowed = differingOnly(context, table, plan, source);
        if (auto* ended = std::get_if<CliResult>(&narrowed)) return *ended;
        const std::optional<RunPlan>& differing = std::get<std::optional<RunPlan>>(narrowed);
        if (!differing) {
            // Nothing moves: as with --only-changed, no records are counted.
            if (context.tally) *context.tally = RunTally{};
            return {kExitDone,
                    QStringLiteral("%1: no row differs from the register; nothing written\n")
                        .arg(table.name),
                    QString(), false};
        }
        plan = *differing;
    }
    auto ran = runOnRegister(context, table, plan, &source, nullptr);
    if (auto* refused = std::get_if<CliResult>(&ran)) return *refused;
    return report(table, QStringLiteral("written"), plan.rowCount(), std::get<Ran>(ran));
}

// After the records not read: where their rows come from in the file.
QString notReadRows(EarlierFile earlier) {
    switch (earlier) {
        case EarlierFile::None:
            break;
        case EarlierFile::Kept:
            return QStringLiteral("; their rows are as in the earlier file");
        case EarlierFile::Unusable:
            return QStringLiteral(
                "; their rows are empty: the earlier file does not hold the table");
    }
    return {};
}

CliResult readGrid(const CliContext& context, const Table& table, const QString& path) {
    const Model model = context.request.model;
    auto planned = planOf(context, Direction::Read, table.kind());
    if (auto* refused = std::get_if<CliResult>(&planned)) return *refused;
    const RunPlan plan = std::get<RunPlan>(planned);
    const StartingGrid start = startingGrid(path, table.kind(), model, context.console);
    // The rows an interval leaves out are the earlier file's; a file that
    // does not hold the table has none to give, and replacing it would lose
    // them all.
    const int lines = files::gridFileLayout(table.kind(), model).lines;
    if (start.earlier == EarlierFile::Unusable && (plan.firstRow > 1 || plan.lastRow < lines)) {
        return inputError(
            start.problem +
            QStringLiteral("\nthe rows outside --interval would be lost; nothing was read"));
    }
    disk::SafeSave file(path);
    if (auto error = openOutput(file)) return inputError(*error);

    GridSink sink(*start.grid);
    auto run = runOnRegister(context, table, plan, nullptr, &sink);
    if (auto* refused = std::get_if<CliResult>(&run)) return *refused;
    const Ran& ran = std::get<Ran>(run);
    const QString verb = QStringLiteral("read");

    // A run that did not come to its end leaves no file: half a table would
    // pass for a whole one later.
    if (ran.outcome.stopped) {
        file.cancel();
        CliResult result = report(table, verb, plan.rowCount(), ran);
        result.error += QStringLiteral("\n%1 not written").arg(path);
        return result;
    }
    // What was read is told whether or not the file could be written.
    if (std::optional<QString> error = commitGridFile(file, *start.grid, table.kind(), model)) {
        CliResult result = report(table, verb, plan.rowCount(), ran);
        result.status = kExitFailed;
        result.error += (result.error.isEmpty() ? QString() : QStringLiteral("\n")) + *error;
        return result;
    }
    return report(table, verb, plan.rowCount(), ran, QStringLiteral(" into %1").arg(path),
                  notReadRows(start.earlier));
}

CliResult compareGrid(const CliContext& context, const Table& table, const QString& path) {
    auto loaded = fileRows(context, table, path);
    if (auto* refused = std::get_if<CliResult>(&loaded)) return *refused;
    const RunPlan& plan = std::get<FileRows>(loaded).plan;
    const GridSource source(*std::get<FileRows>(loaded).grid, table.kind());
    // Found before the port opens, as a write finds it: the comparison would
    // find it too, once the register had been called for nothing.
    if (std::optional<RecordError> refusal = transfer::firstRefusedRow(plan, source))
        return inputError(refusal->english + QStringLiteral("\nnothing was read"));
    auto compared = compareWithRegister(context, table, plan, source);
    if (auto* refused = std::get_if<CliResult>(&compared)) return *refused;
    return comparisonResult(table, std::get<Compared>(compared));
}

CliResult clearGrid(const CliContext& context, const Table& table) {
    auto planned = planOf(context, Direction::Clear, table.kind());
    if (auto* refused = std::get_if<CliResult>(&planned)) return *refused;
    const RunPlan plan = std::get<RunPlan>(planned);
    auto ran = runOnRegister(context, table, plan, nullptr, nullptr);
    if (auto* refused = std::get_if<CliResult>(&ran)) return *refused;
    return report(table, QStringLiteral("cleared"), plan.rowCount(), std::get<Ran>(ran));
}

}  // namespace

CliResult runWriteTable(const CliContext& context) {
    auto chosen = tableOf(context);
    if (auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    const Table& table = std::get<Table>(chosen);
    const QString& path = context.request.arguments[1];
    if (!table.grid() || !isSpreadsheetFile(path)) {
        if (std::optional<CliResult> unused = unusedSpreadsheetOptions(context.request))
            return *unused;
    }
    return table.grid() ? writeGrid(context, table, path)
                        : writeParameterSet(context, table.set(), table.name, path);
}

CliResult runReadTable(const CliContext& context) {
    auto chosen = tableOf(context);
    if (auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    const Table& table = std::get<Table>(chosen);
    const QString& path = context.request.arguments[1];
    return table.grid() ? readGrid(context, table, path)
                        : readParameterSet(context, table.set(), table.name, path);
}

CliResult runCompareTable(const CliContext& context) {
    auto chosen = tableOf(context);
    if (auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    const Table& table = std::get<Table>(chosen);
    if (!table.grid()) {
        QStringList grids;
        for (const QString& name : tableNames()) {
            if (isGridTab(*tableTab(name))) grids << name;
        }
        return usageError(QStringLiteral("%1 is no grid table: compare-table takes %2")
                              .arg(table.name, grids.join(QStringLiteral(", "))));
    }
    return compareGrid(context, table, context.request.arguments[1]);
}

CliResult runClearTable(const CliContext& context) {
    auto chosen = tableOf(context);
    if (auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    const Table& table = std::get<Table>(chosen);
    if (!table.grid()) {
        return usageError(
            QStringLiteral("%1 has no default records: clear-table takes a grid table")
                .arg(table.name));
    }
    return clearGrid(context, table);
}

}  // namespace tabulon::cli
