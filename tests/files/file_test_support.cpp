#include "file_test_support.h"

#include <QFile>
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

BytesDevice::BytesDevice(const QByteArray& bytes) : bytes_(bytes) {
    setBuffer(&bytes_);
    open(QIODevice::ReadOnly);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace tabulon::files::testing
