#include "cli/table_names.h"

namespace tabulon::cli {

QStringList tableNames() {
    static const QStringList names{"goods",  "operators", "payments", "departments",
                                   "header", "cash",      "receipt",  "service"};
    return names;
}

std::optional<int> tableTab(const QString& name) {
    const qsizetype tab = tableNames().indexOf(name);
    return tab >= 0 ? std::optional<int>(int(tab)) : std::nullopt;
}

QString tableName(int tab) {
    return tableNames().value(tab);
}

}  // namespace tabulon::cli
