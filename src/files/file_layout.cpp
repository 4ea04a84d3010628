#include "files/file_layout.h"

#include "catalogue/grid_catalogue.h"
#include "catalogue/parameter_catalogue.h"

namespace tabulon::files {

GridFileLayout gridFileLayout(TableKind kind, Model model) {
    const GridShape& grid = gridShape(kind);
    const int lines = kind == TableKind::Goods ? goodsCount(model) : grid.rows - 1;
    return {lines, grid.columns - 1};
}

ParameterFileLayout parameterFileLayout(ParameterSet set, Model model) {
    // The fields in the order of the tab; a line holds the leading ones that
    // the model has.
    const QStringList fields = parameterFieldNames(set);
    switch (set) {
        case ParameterSet::CashRegisterParameters:
            return {fields.mid(0, model == Model::DatecsMp550T ? 13
                                  : model == Model::Neon       ? 12
                                                               : 11),
                    0};
        case ParameterSet::ReceiptParameters:
            return {fields, 0};
        case ParameterSet::ServiceParameters:
            // Neon keeps the eleventh place of the line but has no value for
            // it; its Edit36 means something else and stays out of the file.
            // Edit37 is in no file.
            if (model == Model::Neon) return {fields.mid(0, 10), 1};
            return {fields.mid(0, 11), 0};
    }
    return {};
}

}  // namespace tabulon::files
