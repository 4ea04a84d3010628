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
    // A line holds the fields of the model's record, with two exceptions in
    // the service set: Edit37 is in no file, and Neon keeps the eleventh
    // place of the line empty, its Edit36 meaning something else there.
    QStringList fields = parameterFieldNames(set, model);
    if (set != ParameterSet::ServiceParameters) return {fields, 0};
    fields.removeAll(QStringLiteral("Edit37"));
    if (model == Model::Neon && fields.removeAll(QStringLiteral("Edit36")) > 0) return {fields, 1};
    return {fields, 0};
}

}  // namespace tabulon::files
