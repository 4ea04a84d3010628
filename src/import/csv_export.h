#pragma once

#include <QByteArray>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon {
class GridModel;
}

namespace tabulon::import {

// A table as a spreadsheet opens it: UTF-8 with a byte-order mark (Excel
// takes a file without one for the Windows code page), ";" between values,
// the grid's headings on the first line, then every row that holds anything,
// CR LF after each line. Tables other than goods start each line with the
// row's number, so that the file comes back into the same rows; goods come
// back by their code. Prices and quantities get a decimal comma, as Excel in
// a Russian locale reads numbers, unless `decimalPoint`.
QByteArray exportDelimited(const GridModel& grid, TableKind kind, Model model, bool decimalPoint);

}  // namespace tabulon::import
