#pragma once

class QTableView;

namespace tabulon {
class GridModel;
}

namespace tabulon::sdcard {

// A string grid's headers: row 0 and column 0 of the model are the view's
// headers (so they stay in sight while scrolling), rows of a fixed height,
// text to the left, and the model's top-left cell, the heading of the
// row-number column, drawn in the corner. The model must outlive the view.
void setUpGridHeaders(QTableView& view, const GridModel& model, int rowHeight);

}  // namespace tabulon::sdcard
