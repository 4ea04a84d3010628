#pragma once

#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

class QSaveFile;

namespace tabulon {
class Dialogs;
class GridModel;
class ParameterValues;
}  // namespace tabulon

namespace tabulon::files {

// The progress bar as the file commands drive it: back to 0 before and after,
// one step per line. Either may be left empty.
struct FileProgress {
    std::function<void()> reset;
    std::function<void()> step;
};

// Opens the file a save goes into. Saving writes to a temporary file and
// renames it over the target only when everything was written, so a failed
// save leaves the earlier file as it was.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;

enum class FileCommandResult {
    NoTableFile,  // the tab has no table file; nothing happened
    Cancelled,    // the user cancelled the dialog
    Done,
    Failed,    // a message box told the user
    Imported,  // a spreadsheet's rows went into the grid as the user's change
};

// What "Открыть" and "Сохранить" work on: the window state at the moment the
// user presses the button.
struct TableFileContext {
    int tab;                                        // active tab of the tab control
    Model model;                                    // selected in the model list
    std::array<GridModel*, kGridTableCount> grids;  // by TableKind
    ParameterValues& fields;
    Dialogs& dialogs;
    FileProgress progress;
    // Shows the full path of a file loaded successfully (the file-name label).
    std::function<void(const QString&)> showFileName;
    // Empty: a plain QSaveFile.
    SaveFileFactory saveFileFactory;
    // A grid's table as a spreadsheet's text file: when set, the dialogs
    // offer .csv (and .txt to open) beside the table's own type, and a file
    // of that kind goes here instead of the table's own reader or writer.
    std::function<FileCommandResult(const QString& path)> openSpreadsheet = {};
    std::function<FileCommandResult(const QString& path)> saveSpreadsheet = {};
};

// "Открыть": asks for a file and loads the table of the active tab from it.
FileCommandResult openTableFile(const TableFileContext& context);

// "Сохранить": asks for a file name and writes the table of the active tab.
FileCommandResult saveTableFile(const TableFileContext& context);

}  // namespace tabulon::files
