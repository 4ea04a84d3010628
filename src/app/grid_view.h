#pragma once

#include <QTableView>

namespace tabulon {
class GridModel;
struct GridShape;
}  // namespace tabulon

namespace tabulon::app {

class EntryRefusals;

// A string grid: a table view over a GridModel whose fixed first row and
// column are the headers (so they stay in view while scrolling), with the
// model's top-left cell drawn in the corner.
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(const GridShape& shape, GridModel* model, EntryRefusals* refusals, QWidget* parent);

    GridModel* gridModel() const { return model_; }
    // Width of column c of the grid, column 0 being the label column.
    void setGridColumnWidth(int column, int width);
    // A run's grid takes no edits while the run lasts.
    void setEditing(bool on);

private:
    GridModel* model_;
};

}  // namespace tabulon::app
