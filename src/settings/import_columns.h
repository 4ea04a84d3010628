#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tabulon::settings {

class ProfileFile;

// The [Import] section: for each table and layout of column headings a
// spreadsheet file came with, the table column the user last chose for each
// file column, so that the next file with the same headings is read into
// that table the same way. `table` names the table (its grid's name): the
// column numbers of one table mean other columns in another. The key is a
// short hash of the table and the headings (a heading may hold "=", "]" or
// any letter), the value the column numbers joined by ",".
QString importLayoutKey(const QString& table, const QStringList& headings);
std::optional<QList<int>> rememberedImportColumns(const ProfileFile& file, const QString& table,
                                                  const QStringList& headings);
// Written as the program writes its other settings; a file that cannot be
// written keeps what it had.
void rememberImportColumns(const ProfileFile& file, const QString& table,
                           const QStringList& headings, const QList<int>& columns);

}  // namespace tabulon::settings
