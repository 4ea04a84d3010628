#include "file_test_support.h"

#include <stdexcept>

#include "catalogue/grid_catalogue.h"
#include "text/cp1251.h"

namespace tabulon::files::testing {

QByteArray cp1251(const QString& text) {
    auto bytes = text::toCp1251(text);
    if (!bytes) throw std::invalid_argument("not Windows-1251");
    return *bytes;
}

std::unique_ptr<GridModel> makeGrid(TableKind kind) {
    const GridShape& shape = gridShape(kind);
    return std::make_unique<GridModel>(shape.columns, shape.rows);
}

QByteArray repeatedLines(const QByteArray& line, int count) {
    return (line + "\r\n").repeated(count);
}

}  // namespace tabulon::files::testing
