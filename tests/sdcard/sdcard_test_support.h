#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "catalogue/grid_model.h"
#include "support/file_bytes.h"

namespace tabulon::sdcard::testing {

// Windows-1251 bytes of a text written in the test as UTF-8.
QByteArray cp1251(const QString& text);

// `count` lines, each the given bytes followed by CR LF.
QByteArray repeatedLines(const QByteArray& line, int count);

// A card file of `count` records: the line `first` for record 1, then
// numbered records "n;n;...", each with CR LF.
QByteArray uploadLines(int count, const QByteArray& first = {});
QByteArray salesLines(int count);

using tabulon::testing::BytesDevice, tabulon::testing::readFile, tabulon::testing::writeFile;

}  // namespace tabulon::sdcard::testing
