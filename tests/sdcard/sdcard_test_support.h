#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "catalogue/grid_model.h"
#include "support/cp1251.h"
#include "support/file_bytes.h"

namespace tabulon::sdcard::testing {

// A card file of `count` records: the line `first` for record 1, then
// numbered records "n;n;...", each with CR LF.
QByteArray uploadLines(int count, const QByteArray& first = {});
QByteArray salesLines(int count);

using tabulon::testing::BytesDevice, tabulon::testing::cp1251, tabulon::testing::readFile,
    tabulon::testing::repeatedLines, tabulon::testing::writeFile;

}  // namespace tabulon::sdcard::testing
