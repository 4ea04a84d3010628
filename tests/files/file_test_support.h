#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "catalogue/grid_model.h"
#include "catalogue/table_kind.h"
#include "support/cp1251.h"
#include "support/file_bytes.h"

namespace tabulon::files::testing {

// A grid of the size the window gives the table, all data cells empty.
std::unique_ptr<GridModel> makeGrid(TableKind kind);

using tabulon::testing::BytesDevice, tabulon::testing::cp1251, tabulon::testing::readFile,
    tabulon::testing::repeatedLines, tabulon::testing::writeFile;

}  // namespace tabulon::files::testing
