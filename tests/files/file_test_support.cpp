#include "file_test_support.h"

#include "catalogue/grid_catalogue.h"

namespace tabulon::files::testing {

std::unique_ptr<GridModel> makeGrid(TableKind kind) {
    const GridShape& shape = gridShape(kind);
    return std::make_unique<GridModel>(shape.columns, shape.rows);
}

}  // namespace tabulon::files::testing
