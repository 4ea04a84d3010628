#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon::disk {
class SafeSave;
}

namespace tabulon {
class GridModel;
class ParameterValues;
}  // namespace tabulon

namespace tabulon::cli {

class CliConsole;

// The table files of the command line are the window's: read with the reader
// of "Открыть", written with the writer of "Сохранить". The errors name the
// file and say what is wrong with it.

// A grid as the window holds it at start-up: every cell empty.
std::unique_ptr<GridModel> emptyGrid(TableKind kind);

// Every line of the model's count into rows 1 onward. A file that ends before
// row `rowsNeeded` (by default the model's count) is an error here: the rows
// it lacks would be written as empty records; one that ends after it leaves
// the later rows empty, for a run that does not take them (an interval). A
// line too long to be read in one piece is an error too: its rest would move
// the rows after it into the next records.
std::optional<QString> loadGridFile(const QString& path, TableKind kind, Model model,
                                    GridModel& grid, CliConsole& console,
                                    std::optional<int> rowsNeeded = {});
// The one line into the fields of the set. A line without all of the
// set's values is an error here: the fields it lacks would be written empty.
std::optional<QString> loadParameterFile(const QString& path, ParameterSet set, Model model,
                                         ParameterValues& fields, CliConsole& console);

// What a read starts from. As in the window, reading never empties a row:
// the rows a run does not read (skipped, outside an interval) keep those of
// an earlier file of that name, if it holds the whole table.
enum class EarlierFile {
    None,      // there was none: those rows are empty
    Kept,      // its rows are the start
    Unusable,  // it does not hold the table: those rows are empty
};
struct StartingGrid {
    std::unique_ptr<GridModel> grid;
    EarlierFile earlier;
    QString problem;  // Unusable: what is wrong with it
};
StartingGrid startingGrid(const QString& path, TableKind kind, Model model, CliConsole& console);

// Opens the file a read goes into. Nothing appears under its name, and an
// earlier file of that name stays as it was, until the table is committed.
std::optional<QString> openOutput(disk::SafeSave& file);
// Writes the lines and renames the file into place.
std::optional<QString> commitGridFile(disk::SafeSave& file, const GridModel& grid, TableKind kind,
                                      Model model);
std::optional<QString> commitParameterFile(disk::SafeSave& file, const ParameterValues& fields,
                                           ParameterSet set, Model model);

}  // namespace tabulon::cli
