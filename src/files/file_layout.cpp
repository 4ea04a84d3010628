#include "files/file_layout.h"

#include "catalogue/grid_catalogue.h"

namespace tabulon::files {

GridFileLayout gridFileLayout(TableKind kind, Model model) {
    const GridShape& grid = gridShape(kind);
    int lines = grid.rows - 1;
    // The MP-50 Junior holds half as many articles as the others.
    if (kind == TableKind::Goods && model == Model::DatecsMp50Junior) lines = 5000;
    return {lines, grid.columns - 1};
}

ParameterFileLayout parameterFileLayout(ParameterSet set, Model model) {
    switch (set) {
        case ParameterSet::CashRegisterParameters: {
            QStringList fields{"Edit5",  "Edit6",  "Edit7",  "Edit8",  "Edit9", "Edit10",
                               "Edit11", "Edit12", "Edit13", "Edit14", "Edit19"};
            if (model != Model::DatecsMp50Junior) fields << "Edit24";
            if (model == Model::DatecsMp550T) fields << "Edit35";
            return {fields, 0};
        }
        case ParameterSet::ReceiptParameters:
            return {
                {"Edit15", "Edit16", "Edit17", "Edit18", "Edit20", "Edit21", "Edit22", "Edit23"},
                0};
        case ParameterSet::ServiceParameters: {
            QStringList fields{"Edit25", "Edit26", "Edit27", "Edit28", "Edit29",
                               "Edit30", "Edit31", "Edit32", "Edit33", "Edit34"};
            // Neon keeps the eleventh place of the line but has no value for it;
            // its Edit36 means something else and stays out of the file.
            if (model == Model::Neon) return {fields, 1};
            fields << "Edit36";
            return {fields, 0};
        }
    }
    return {};
}

}  // namespace tabulon::files
