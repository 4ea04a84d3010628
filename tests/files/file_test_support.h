#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "catalogue/grid_model.h"
#include "catalogue/table_kind.h"
#include "support/file_bytes.h"

namespace tabulon::files::testing {

// Windows-1251 bytes of a text written in the test as UTF-8.
QByteArray cp1251(const QString& text);

// A grid of the size the window gives the table, all data cells empty.
std::unique_ptr<GridModel> makeGrid(TableKind kind);

// `count` lines, each the given text followed by CR LF.
QByteArray repeatedLines(const QByteArray& line, int count);

using tabulon::testing::BytesDevice, tabulon::testing::readFile, tabulon::testing::writeFile;

}  // namespace tabulon::files::testing
