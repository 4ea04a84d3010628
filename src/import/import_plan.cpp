#include "import/import_plan.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

#include "catalogue/grid_model.h"
#include "files/file_layout.h"
#include "files/table_file_writer.h"
#include "import/column_names.h"
#include "import/delimited_text.h"
#include "import/import_messages.h"
#include "import/spreadsheet_number.h"
#include "text/cp1251.h"
#include "text/decimal_number.h"
#include "text/whole_number.h"
#include "transfer/clearing_record.h"
#include "transfer/register_tables.h"
#include "transfer/table_record.h"

namespace tabulon::import {

namespace {

const RecordField* fieldOf(const GridTable& table, int column) {
    for (const RecordField& field : table.fields) {
        if (field.column == column) return &field;
    }
    return nullptr;
}

// The characters the register keeps of a column; 0: it keeps them all.
int keptCharacters(const GridTable& table, int column, Model model) {
    const RecordField* field = fieldOf(table, column);
    if (!field || (field->rule != FieldRule::Cut && field->rule != FieldRule::CutZeroIfEmpty))
        return 0;
    return field->cut[static_cast<int>(model)];
}

// What a cleared register holds in the row, as grid cells.
QStringList clearedCells(const GridTable& table, int row, Model model) {
    QStringList cells(table.dataColumns);
    const std::optional<QByteArray> record = ClearingRecord(table.kind, row, model);
    if (!record) return cells;
    const QStringList fields = text::fromCp1251(*record).split(u';');
    for (qsizetype i = 0; i < qsizetype(table.fields.size()); ++i) {
        const int column = table.fields[i].column;
        if (column > 0) cells[column - 1] = fields.value(i);
    }
    return cells;
}

// A long number as a spreadsheet shows it when the column is not text,
// "4,6E+12", and saves it so: the digits of a barcode are gone.
bool isRoundedNumber(const QString& value) {
    static const QRegularExpression rounded(
        QStringLiteral("^\\s*\\d+([.,]\\d+)?[eE][+-]?\\d+\\s*$"));
    return rounded.match(value).hasMatch();
}

// A column of digits the register takes as they are: a code, a group, a
// barcode. Names and numbers have rules of their own.
bool holdsDigits(const GridTable& table, int column) {
    const RecordField* field = fieldOf(table, column);
    return field && (field->rule == FieldRule::AsIs || field->rule == FieldRule::CutZeroIfEmpty);
}

bool rowHoldsAnything(const GridModel& grid, int row, int columns) {
    for (int column = 1; column <= columns; ++column) {
        if (!grid.cell(row, column).isEmpty()) return true;
    }
    return false;
}

bool isBlank(const QStringList& values) {
    for (const QString& value : values) {
        if (!value.trimmed().isEmpty()) return false;
    }
    return true;
}

// A heading line names at least one column and holds no number: a line of
// data always has its code or price.
bool isHeadingLine(TableKind kind, const QStringList& values) {
    bool names = false;
    for (const QString& value : values) {
        if (value.trimmed().isEmpty()) continue;
        if (text::formatDecimal(gridNumber(value), 3)) return false;
        if (columnOfHeading(kind, value) != kIgnoredColumn) names = true;
    }
    return names;
}

class Planner {
public:
    Planner(ImportPlan& plan, const GridModel& grid)
        : plan_(plan), table_(registerTable(plan.kind)), grid_(grid) {}

    void mapColumns(const DelimitedLines& split, const ImportChoices& choices);
    void placeRows(const DelimitedLines& split);

private:
    void refuse(const ImportProblem& problem) { plan_.problems << problem; }
    QString headingOf(int fileColumn) const;
    QStringList startingCells(int row);
    void check(int line, int row, const QStringList& values, const QStringList& cells);
    void locate(int line, const QStringList& values, const RecordError& error);

    ImportPlan& plan_;
    const GridTable& table_;
    const GridModel& grid_;
};

QString Planner::headingOf(int fileColumn) const {
    if (plan_.header) return plan_.fileColumns.value(fileColumn);
    return columnHeading(plan_.kind, plan_.columns.value(fileColumn));
}

void Planner::mapColumns(const DelimitedLines& split, const ImportChoices& choices) {
    const QStringList first = split.lines.isEmpty() ? QStringList() : split.lines.front().values;
    plan_.header = choices.header.value_or(isHeadingLine(plan_.kind, first));
    qsizetype width = 0;
    for (const DelimitedLine& line : split.lines) width = std::max(width, line.values.size());
    if (plan_.header) {
        plan_.fileColumns = first;
    } else {
        for (int i = 1; i <= width; ++i) plan_.fileColumns << QString::number(i);
    }
    for (qsizetype i = 0; i < plan_.fileColumns.size(); ++i) {
        int column = kIgnoredColumn;
        if (choices.columns) {
            column = choices.columns->value(i, kIgnoredColumn);
        } else if (plan_.header) {
            column = columnOfHeading(plan_.kind, plan_.fileColumns[i]);
        } else if (i + 1 <= table_.dataColumns) {
            column = int(i) + 1;
        }
        if (column > table_.dataColumns || column < kRowNumberColumn) column = kIgnoredColumn;
        if (column != kIgnoredColumn) {
            if (const qsizetype earlier = plan_.columns.indexOf(column); earlier >= 0)
                refuse(columnTwiceProblem(int(earlier) + 1, int(i) + 1,
                                          columnHeading(plan_.kind, column)));
        }
        plan_.columns << column;
    }
    for (int column = 1; column <= table_.dataColumns; ++column) {
        if (!plan_.columns.contains(column)) plan_.missing << column;
    }
}

QStringList Planner::startingCells(int row) {
    if (plan_.missing.isEmpty()) return QStringList(table_.dataColumns);
    const bool kept = rowHoldsAnything(grid_, row, table_.dataColumns);
    ++(kept ? plan_.rowsKept : plan_.rowsCleared);
    return kept ? grid_.rowCells(row, table_.dataColumns) : clearedCells(table_, row, plan_.model);
}

// Finds the file value a refused record stands on, trying each on its own;
// a record refused for no one value is refused as a row.
void Planner::locate(int line, const QStringList& values, const RecordError& error) {
    for (qsizetype i = 0; i < plan_.columns.size(); ++i) {
        const int column = plan_.columns[i];
        if (column < 1) continue;
        const QString value = values.value(i);
        const QString cell = holdsNumber(plan_.kind, column) ? gridNumber(value) : value;
        QStringList alone(table_.dataColumns);
        alone[column - 1] = cell;
        const BuiltRecord built = BuildTableRecord(plan_.kind, alone, plan_.model, {1, 1});
        if (built.ok()) continue;
        switch (built.error->kind) {
            case RecordError::Kind::NotANumber:
                return refuse(notANumberProblem(line, int(i) + 1, headingOf(int(i)), value));
            case RecordError::Kind::NotInCodePage:
                return refuse(characterProblem(line, int(i) + 1, headingOf(int(i)), cell,
                                               text::firstNonCp1251(cell), false));
            case RecordError::Kind::Control:
                return refuse(characterProblem(line, int(i) + 1, headingOf(int(i)), cell,
                                               text::firstControl(cell), true));
            case RecordError::Kind::TooLong:
                break;
        }
    }
    refuse(rowProblem(line, error.message, error.english));
}

void Planner::check(int line, int row, const QStringList& values, const QStringList& cells) {
    // A quoted value may hold the delimiter; the record would split there.
    for (qsizetype i = 0; i < plan_.columns.size(); ++i) {
        if (plan_.columns[i] >= 1 && values.value(i).contains(u';'))
            return refuse(separatorProblem(line, int(i) + 1, headingOf(int(i))));
        if (plan_.columns[i] >= 1 && holdsDigits(table_, plan_.columns[i]) &&
            isRoundedNumber(values.value(i)))
            return refuse(roundedProblem(line, int(i) + 1, headingOf(int(i)), values.value(i)));
    }
    const BuiltRecord built = BuildTableRecord(plan_.kind, cells, plan_.model, {row, row});
    if (!built.ok()) return locate(line, values, *built.error);
    // The register cuts what it does not keep, a table file does not: the
    // grid has to go into one whole.
    if (const std::optional<QByteArray> fileLine = files::encodeLine(cells);
        fileLine && fileLine->size() - 2 > files::longestFileLine())
        return refuse(fileLineProblem(line, fileLine->size() - 2, files::longestFileLine()));
    for (qsizetype i = 0; i < plan_.columns.size(); ++i) {
        const int column = plan_.columns[i];
        if (column < 1) continue;
        const int kept = keptCharacters(table_, column, plan_.model);
        const QString& value = values.value(i);
        if (kept > 0 && value.size() > kept)
            plan_.problems << cutWarning(line, int(i) + 1, headingOf(int(i)), value, kept);
    }
}

void Planner::placeRows(const DelimitedLines& split) {
    const int rows = files::gridFileLayout(plan_.kind, plan_.model).lines;
    // Goods are placed by their code; the other tables by their row number.
    qsizetype key = -1;
    if (plan_.kind == TableKind::Goods) key = plan_.columns.indexOf(1);
    if (key < 0) key = plan_.columns.indexOf(kRowNumberColumn);
    if (plan_.rows == RowPlacement::ByCode && key < 0) return refuse(noCodeColumnProblem());

    // Codes that name one row are one code: "012" is "12".
    QHash<QString, int> lineOfCode;
    int ordinal = 0;
    for (qsizetype at = plan_.header ? 1 : 0; at < split.lines.size(); ++at) {
        const DelimitedLine& line = split.lines[at];
        if (isBlank(line.values)) continue;
        ++ordinal;
        const QString code = key >= 0 ? line.values.value(key).trimmed() : QString();
        int row = ordinal;
        if (plan_.rows == RowPlacement::ByCode) {
            const std::optional<int> number = text::wholeNumber(code);
            if (!number || *number < 1 || *number > rows) {
                refuse(badCodeProblem(line.line, int(key) + 1, headingOf(int(key)), code, rows));
                continue;
            }
            row = *number;
        } else if (row > rows) {
            return refuse(tooManyRowsProblem(line.line, rows));
        }
        if (key >= 0 && !code.isEmpty()) {
            const std::optional<int> number = text::wholeNumber(code);
            const QString same = number ? QString::number(*number) : code;
            if (const auto earlier = lineOfCode.constFind(same); earlier != lineOfCode.cend()) {
                refuse(codeTwiceProblem(line.line, code, *earlier));
                continue;
            }
            lineOfCode.insert(same, line.line);
        }
        QStringList cells = startingCells(row);
        for (qsizetype i = 0; i < plan_.columns.size(); ++i) {
            const int column = plan_.columns[i];
            if (column < 1) continue;
            const QString& value = line.values.value(i);
            cells[column - 1] = holdsNumber(plan_.kind, column) ? gridNumber(value) : value;
        }
        // The row's code as the register takes it, without the zeros or
        // blanks around it that a spreadsheet kept.
        if (plan_.rows == RowPlacement::ByCode && plan_.columns[key] >= 1)
            cells[plan_.columns[key] - 1] = QString::number(row);
        check(line.line, row, line.values, cells);
        plan_.imported << ImportedRow{line.line, row, std::move(cells)};
    }
    if (plan_.imported.isEmpty() && !plan_.refused()) refuse(noRowsProblem());
}

}  // namespace

bool ImportPlan::refused() const {
    for (const ImportProblem& problem : problems) {
        if (problem.kind == ImportProblem::Kind::Refusal) return true;
    }
    return false;
}

ImportPlan planImport(QByteArrayView bytes, TableKind kind, Model model,
                      const ImportChoices& choices, const GridModel& grid) {
    ImportPlan plan{kind,
                    model,
                    choices.encoding.value_or(detectEncoding(bytes)),
                    u';',
                    false,
                    {},
                    {},
                    RowPlacement::InOrder,
                    {},
                    0,
                    0,
                    {},
                    {}};
    const QString text = decodeText(bytes, plan.encoding);
    plan.delimiter = choices.delimiter.value_or(detectDelimiter(text));
    const DelimitedLines split = splitDelimited(text, plan.delimiter);
    if (split.brokenQuoteLine > 0) {
        plan.problems << brokenQuoteProblem(split.brokenQuoteLine);
        return plan;
    }
    Planner planner(plan, grid);
    planner.mapColumns(split, choices);
    const bool keyed = (kind == TableKind::Goods && plan.columns.contains(1)) ||
                       plan.columns.contains(kRowNumberColumn);
    plan.rows = choices.rows.value_or(keyed ? RowPlacement::ByCode : RowPlacement::InOrder);
    if (plan.refused()) return plan;
    planner.placeRows(split);
    return plan;
}

void applyImport(const ImportPlan& plan, GridModel& grid) {
    if (plan.refused()) return;
    QList<std::pair<int, QStringList>> rows;
    rows.reserve(plan.imported.size());
    for (const ImportedRow& row : plan.imported) rows.append({row.row, row.cells});
    grid.changeRows(rows);
}

}  // namespace tabulon::import
