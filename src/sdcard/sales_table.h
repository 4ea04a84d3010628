#pragma once

#include <QStringList>
#include <functional>

#include "files/table_file_writer.h"

class QIODevice;

namespace tabulon {
class GridModel;
}

namespace tabulon::sdcard {

// The sales grid: row 0 the headers, column 0 the row number, one article
// per row 1 to 10000 with its ten goods values and six sales values.
constexpr int kSalesColumns = 17;
constexpr int kSalesRows = 10001;
constexpr int kSalesValues = 16;

const QStringList& salesHeaders();

// The headers and the row numbers; the values are left as they are.
void writeSalesFixedCells(GridModel& sales);

// Writes rows 1 to 10000, columns 1 to 16, one line each: every value
// followed by ";", then CR LF. The values go out as the grid shows them.
// Calls `lineWritten` after each line. Stops at a value holding a character
// outside Windows-1251 (NotEncodable, with its line, value and character) or
// at a line the device does not take (DeviceError).
files::WriteResult writeSalesFile(const GridModel& sales, QIODevice& file,
                                  const std::function<void()>& lineWritten = {});

}  // namespace tabulon::sdcard
