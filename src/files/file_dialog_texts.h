#pragma once

#include <QString>
#include <optional>

#include "dialogs/dialogs.h"

namespace tabulon::files {

// What the open and save dialogs show for the table of a tab.
struct FileDialogTexts {
    QString filterList;  // the table's own type first, then all files
    QString openTitle;
    QString saveTitle;
    QString defaultExtension;
};

// nullopt for the tabs without a table file (logo, reports).
std::optional<FileDialogTexts> fileDialogTexts(int tab);

// The dialog requests for a tab, starting in `directory`.
FileDialogRequest openFileRequest(const FileDialogTexts& texts, const QString& directory);
FileDialogRequest saveFileRequest(const FileDialogTexts& texts, const QString& directory);

// A spreadsheet's text files, offered beside a grid's own type: what "Открыть"
// takes in and what "Сохранить" writes.
QString spreadsheetOpenFilter();
QString spreadsheetSaveFilter();
// The filter list with `filter` after its first (the table's own) type.
QString withSecondFilter(const QString& filterList, const QString& filter);
// A .csv or .txt name, in any letter case.
bool isSpreadsheetName(const QString& path);
bool isCsvName(const QString& path);

}  // namespace tabulon::files
