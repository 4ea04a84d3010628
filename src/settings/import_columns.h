#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tabulon::settings {

class ProfileFile;

// The [Import] section: for each layout of column headings a spreadsheet
// file came with, the table column the user last chose for each file
// column, so that the next file with the same headings is read the same way.
// The key is a short hash of the headings (a heading may hold "=", "]" or
// any letter), the value the column numbers joined by ",".
QString importLayoutKey(const QStringList& headings);
std::optional<QList<int>> rememberedImportColumns(const ProfileFile& file,
                                                  const QStringList& headings);
// Written as the program writes its other settings; a file that cannot be
// written keeps what it had.
void rememberImportColumns(const ProfileFile& file, const QStringList& headings,
                           const QList<int>& columns);

}  // namespace tabulon::settings
