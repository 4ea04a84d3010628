#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "disk/input_file.h"
#include "import/text_encoding.h"

namespace tabulon {
class GridModel;
}

namespace tabulon::import {

// The largest file read as a spreadsheet's: a price list of ten thousand
// goods is well below a megabyte.
inline constexpr qint64 kLargestSpreadsheet = 64 * disk::kMebibyte;

// Where the rows of the file go in the table.
enum class RowPlacement {
    ByCode,   // goods code n (or the row number the file gives) into row n
    InOrder,  // the first row of data into row 1, and so on
};

// What the user settles instead of the guesses; each one left empty is
// found from the file.
struct ImportChoices {
    std::optional<Encoding> encoding;
    std::optional<QChar> delimiter;
    std::optional<bool> header;  // the first line names the columns
    // Per file column (from the first), the table column it goes into:
    // 1 onward, kRowNumberColumn or kIgnoredColumn (import/column_names.h).
    // File columns past the list are ignored.
    std::optional<QList<int>> columns;
    std::optional<RowPlacement> rows;
};

struct ImportProblem {
    enum class Kind {
        Refusal,  // nothing is imported while there is one
        Warning,  // imported, but not as the file has it (a name cut short)
    };
    Kind kind;
    int line;         // the file line, from 1; 0: the file as a whole
    QString message;  // for the window
    QString english;  // for the command line
};

// One row as the grid will hold it.
struct ImportedRow {
    int line;           // the file line it comes from
    int row;            // the grid row it goes into
    QStringList cells;  // grid columns 1 onward, every column of the table
};

// What an import would do, worked out before anything changes: the guesses
// taken (for the user to see), the rows as the grid will hold them, and what
// is wrong with the file. To change a guess, plan again with it among the
// choices: 10000 goods are planned anew in some 50 ms.
struct ImportPlan {
    TableKind kind;
    Model model;
    Encoding encoding;
    QChar delimiter;
    bool header;
    // The file's columns as the user knows them: their headings, or "1", "2"
    // ... without a heading line.
    QStringList fileColumns;
    QList<int> columns;  // per file column, as in ImportChoices
    RowPlacement rows;
    // The table columns the file does not give, and where their values come
    // from instead: the grid's own in the rows that hold anything, else the
    // values a cleared register has there.
    QList<int> missing;
    int rowsKept = 0;
    int rowsCleared = 0;
    QList<ImportedRow> imported;  // in file order
    QList<ImportProblem> problems;

    bool refused() const;
};

// Reads the file's bytes for a table of the model, taking `grid` (the
// table's grid as it stands) for the columns the file lacks.
ImportPlan planImport(QByteArrayView bytes, TableKind kind, Model model,
                      const ImportChoices& choices, const GridModel& grid);

// Puts the plan's rows into the grid as the user's change of each, so that
// they are marked edited and a write of the changed rows sends them; the
// rows the file does not give stay as they are. Nothing for a refused plan.
void applyImport(const ImportPlan& plan, GridModel& grid);

}  // namespace tabulon::import
