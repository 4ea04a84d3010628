#pragma once

#include <QString>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "files/table_file_commands.h"

class QWidget;

namespace tabulon::app {

// "Открыть" with a .csv or .txt file: the import preview, and on "OK" its
// rows into the grid as the user's change. A column list the user chose is
// kept in Tabulon.ini for the next file with the same headings.
files::FileCommandResult importSpreadsheet(QWidget* parent, Dialogs& dialogs, GridModel& grid,
                                           TableKind kind, Model model, const QString& path);

// "Сохранить" with a .csv name: the table as a spreadsheet opens it.
files::FileCommandResult exportSpreadsheet(Dialogs& dialogs, const GridModel& grid, TableKind kind,
                                           Model model, const QString& path);

}  // namespace tabulon::app
