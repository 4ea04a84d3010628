#include "cli/import_commands.h"

#include <QFileInfo>
#include <algorithm>
#include <variant>

#include "catalogue/grid_model.h"
#include "cli/table_file_io.h"
#include "cli/table_names.h"
#include "disk/input_file.h"
#include "disk/safe_save.h"
#include "import/column_names.h"
#include "import/csv_export.h"
#include "import/import_plan.h"

namespace tabulon::cli {

namespace {

using import::ImportChoices;
using import::ImportPlan;
using import::ImportProblem;

const CliOption kSpreadsheetOptions[] = {kColumnsOption, kDelimiterOption, kEncodingOption,
                                         kRowsOption};

std::variant<ImportChoices, CliResult> choicesOf(const CliRequest& request, TableKind kind) {
    ImportChoices choices;
    if (request.given.contains(optionName(kDelimiterOption))) {
        const QString& word = request.delimiter;
        if (word == u"tab" || word == u"\t") {
            choices.delimiter = u'\t';
        } else if (word == u";" || word == u",") {
            choices.delimiter = word.front();
        } else {
            return usageError(QStringLiteral("--delimiter takes \";\", \",\" or tab"));
        }
    }
    if (request.given.contains(optionName(kEncodingOption))) {
        choices.encoding = import::encodingFromName(request.encoding);
        if (!choices.encoding) {
            return usageError(
                QStringLiteral("--encoding takes utf-8, utf-16le, utf-16be or windows-1251"));
        }
    }
    if (request.given.contains(optionName(kRowsOption))) {
        if (request.rows == u"code") {
            choices.rows = import::RowPlacement::ByCode;
        } else if (request.rows == u"order") {
            choices.rows = import::RowPlacement::InOrder;
        } else {
            return usageError(QStringLiteral("--rows takes code or order"));
        }
    }
    if (request.given.contains(optionName(kColumnsOption))) {
        QList<int> columns;
        for (const QString& word : request.columns.split(u',')) {
            const int column = import::columnOfWord(kind, word.trimmed());
            if (column == import::kUnknownColumn) {
                return usageError(
                    QStringLiteral("--columns: \"%1\" is no column of %2; give a column's number "
                                   "or heading, or - to leave a file column out")
                        .arg(word, tableName(int(kind))));
            }
            columns << column;
        }
        choices.columns = columns;
    }
    return choices;
}

QString delimiterName(QChar delimiter) {
    return delimiter == u'\t' ? QStringLiteral("tab") : QStringLiteral("\"%1\"").arg(delimiter);
}

// The guesses taken and the columns as they go, for the user to check.
// `chosen`: the columns are those of --columns, which may leave out one
// the table has.
QStringList mappingLines(const ImportPlan& plan, const QString& path, bool chosen) {
    QStringList lines;
    lines << QStringLiteral("%1: %2, delimiter %3, %4, rows %5")
                 .arg(path, import::encodingName(plan.encoding), delimiterName(plan.delimiter),
                      plan.header ? QStringLiteral("a heading line")
                                  : QStringLiteral("no heading line"),
                      plan.rows == import::RowPlacement::ByCode ? QStringLiteral("by code")
                                                                : QStringLiteral("in order"));
    for (qsizetype i = 0; i < plan.columns.size(); ++i) {
        const QString file =
            plan.header ? QStringLiteral("column %1 \"%2\"").arg(i + 1).arg(plan.fileColumns[i])
                        : QStringLiteral("column %1").arg(i + 1);
        const int column = plan.columns[i];
        // The empty columns a spreadsheet leaves after the last are no news.
        if (column == import::kIgnoredColumn && plan.fileColumns[i].trimmed().isEmpty()) continue;
        if (column != import::kIgnoredColumn) {
            lines
                << QStringLiteral("  %1 -> %2").arg(file, import::columnHeading(plan.kind, column));
        } else if (chosen) {
            lines << QStringLiteral("  %1: left out by --columns").arg(file);
        } else {
            lines << QStringLiteral("  %1: ignored, the table has no such column").arg(file);
        }
    }
    if (!plan.missing.isEmpty()) {
        QStringList headings;
        for (int column : plan.missing) headings << import::columnHeading(plan.kind, column);
        QStringList from;
        if (plan.rowsKept > 0)
            from << QStringLiteral("the grid's in %1").arg(counted(plan.rowsKept, u"row"));
        if (plan.rowsCleared > 0)
            from << QStringLiteral("a cleared register's in %1")
                        .arg(counted(plan.rowsCleared, u"row"));
        lines << QStringLiteral("  not in the file: %1%2")
                     .arg(headings.join(QStringLiteral(", ")),
                          from.isEmpty() ? QString()
                                         : QStringLiteral("; their values are ") +
                                               from.join(QStringLiteral(", ")));
    }
    return lines;
}

// The table a spreadsheet command names: a grid table.
std::variant<TableKind, CliResult> gridTableOf(const QString& name) {
    const std::optional<int> tab = tableTab(name);
    if (tab && isGridTab(*tab)) return tableKindOfTab(*tab);
    QStringList grids;
    for (const QString& table : tableNames()) {
        if (isGridTab(*tableTab(table))) grids << table;
    }
    return usageError(QStringLiteral("%1 is no grid table: TABLE is one of %2")
                          .arg(name, grids.join(QStringLiteral(", "))));
}

// What import and export both start from: the grid table, the file read,
// the file written, and an empty grid for the table.
struct ConvertedFiles {
    TableKind kind;
    QString input;
    QString output;
    std::unique_ptr<GridModel> grid;
};

std::variant<ConvertedFiles, CliResult> convertedFiles(const CliRequest& request) {
    auto table = gridTableOf(request.arguments[0]);
    if (auto* refused = std::get_if<CliResult>(&table)) return *refused;
    const TableKind kind = std::get<TableKind>(table);
    return ConvertedFiles{kind, request.arguments[1], request.arguments[2], emptyGrid(kind)};
}

CliResult writeTableFile(const QString& path, const GridModel& grid, TableKind kind, Model model) {
    disk::SafeSave file(path);
    if (auto error = openOutput(file)) return inputError(*error);
    if (auto error = commitGridFile(file, grid, kind, model)) return failure(*error);
    return {};
}

}  // namespace

bool isSpreadsheetFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Not .txt: a table file of the program's own may well carry that name.
    return suffix == u"csv" || suffix == u"tsv";
}

std::optional<CliResult> unusedSpreadsheetOptions(const CliRequest& request) {
    for (CliOption option : kSpreadsheetOptions) {
        if (request.given.contains(optionName(option))) {
            return usageError(QStringLiteral("%1 goes with a spreadsheet file (.csv, .tsv) only")
                                  .arg(optionName(option)));
        }
    }
    return std::nullopt;
}

std::variant<QList<int>, CliResult> importSpreadsheet(const CliRequest& request, TableKind kind,
                                                      const QString& path, GridModel& grid,
                                                      QStringList& mapping, QStringList& warnings) {
    auto chosen = choicesOf(request, kind);
    if (auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    const disk::WholeFile file = disk::readWholeFile(path, import::kLargestSpreadsheet);
    if (!file.error.isEmpty())
        return inputError(QStringLiteral("%1: cannot open: %2").arg(path, file.error));
    const ImportPlan plan =
        import::planImport(file.bytes, kind, request.model, std::get<ImportChoices>(chosen), grid);
    mapping << mappingLines(plan, path, std::get<ImportChoices>(chosen).columns.has_value());
    QStringList refusals;
    for (const ImportProblem& problem : plan.problems) {
        (problem.kind == ImportProblem::Kind::Refusal ? refusals : warnings)
            << QStringLiteral("%1: %2").arg(path, problem.english);
    }
    if (!refusals.isEmpty()) return inputError(refusals.join(u'\n'));
    import::applyImport(plan, grid);
    QList<int> rows;
    for (const import::ImportedRow& row : plan.imported) rows << row.row;
    std::sort(rows.begin(), rows.end());
    return rows;
}

CliResult runImport(const CliContext& context) {
    auto files = convertedFiles(context.request);
    if (auto* refused = std::get_if<CliResult>(&files)) return *refused;
    const ConvertedFiles& convert = std::get<ConvertedFiles>(files);
    QStringList mapping;
    QStringList warnings;
    auto imported = importSpreadsheet(context.request, convert.kind, convert.input, *convert.grid,
                                      mapping, warnings);
    for (const QString& line : warnings) context.console.message(line);
    CliResult result;
    if (auto* refused = std::get_if<CliResult>(&imported)) {
        result = *refused;
        if (result.status == kExitUsage && !result.showUsage)
            result.error += QStringLiteral("\n%1 not written").arg(convert.output);
    } else {
        result = writeTableFile(convert.output, *convert.grid, convert.kind, context.request.model);
    }
    if (!mapping.isEmpty()) result.output = mapping.join(u'\n') + u'\n';
    if (result.status == kExitDone)
        result.output +=
            QStringLiteral("%1: imported into %2\n").arg(convert.input, convert.output);
    return result;
}

CliResult runExport(const CliContext& context) {
    const CliRequest& request = context.request;
    auto files = convertedFiles(request);
    if (auto* refused = std::get_if<CliResult>(&files)) return *refused;
    const ConvertedFiles& convert = std::get<ConvertedFiles>(files);
    if (auto error = loadGridFile(convert.input, convert.kind, request.model, *convert.grid,
                                  context.console))
        return inputError(*error);
    const QByteArray bytes =
        import::exportDelimited(*convert.grid, convert.kind, request.model, request.decimalPoint);
    disk::SafeSave file(convert.output);
    if (auto error = openOutput(file)) return inputError(*error);
    if (file.device().write(bytes) != bytes.size() || !file.commit()) {
        file.cancel();
        return failure(
            QStringLiteral("%1: not written: %2").arg(convert.output, file.errorString()));
    }
    return {kExitDone, QStringLiteral("%1: exported into %2\n").arg(convert.input, convert.output),
            QString(), false};
}

}  // namespace tabulon::cli
