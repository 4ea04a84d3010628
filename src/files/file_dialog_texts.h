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

}  // namespace tabulon::files
