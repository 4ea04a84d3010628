#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tabulon::cli {

// The tables of the table commands by the names a script uses: "goods",
// "operators", "payments", "departments", "header", "cash", "receipt",
// "service", in the order of the window's tabs.
QStringList tableNames();

// The window tab (0 to 7) of a table name; nullopt for another word.
std::optional<int> tableTab(const QString& name);

// The name of a tab 0 to 7, for messages.
QString tableName(int tab);

}  // namespace tabulon::cli
