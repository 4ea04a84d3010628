#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <utility>

#include "catalogue/row_marks.h"

namespace tabulon {

// The cell store of one string grid: every cell of the grid, the fixed header
// row 0 and label column 0 included, addressed as cell(row, column) in the
// grid's own coordinates. This is the only store of the table's data.
//
// As a Qt model it shows the data cells only (grid row r, column c is model
// row r-1, column c-1); row 0 and column 0 become the header texts, so they
// stay in view while the user scrolls. A model profile may show fewer rows
// than the grid holds: the rows beyond stay stored and come back unchanged.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // What a data cell carries besides its text, for the view to show
    // (data(), CellMarkRole): the model has no colours of its own.
    enum class CellMark { None, Edited, Differs };
    static constexpr int CellMarkRole = Qt::UserRole + 1;

    GridModel(int columns, int rows, QObject* parent = nullptr);

    int gridColumns() const { return columns_; }
    int gridRows() const { return rows_; }

    QString cell(int row, int column) const;
    // Stores the text as it stands (files, register replies and the window
    // itself write here; the entry rule applies to what the user types).
    void setCell(int row, int column, const QString& text);

    // Data row (1-based) as its data columns 1..count.
    QStringList rowCells(int row, int count) const;
    // Data columns 1, 2, ... of a data row from `cells`, one change signal
    // for the row: a read run fills thousands of rows.
    void setRowCells(int row, const QStringList& cells);

    // Rows shown, header row included (the grid's RowCount).
    int visibleRows() const { return visibleRows_; }
    void setVisibleRows(int rows);

    // "Очистить таблицу": every row below the header row emptied, labels
    // included, as the user's own change of each row that held anything.
    void emptyRows();
    // Rows (grid row, data columns 1 onward) replaced as the user's own
    // change of each, as a confirmed import does: one reset and one edited()
    // for them all.
    void changeRows(const QList<std::pair<int, QStringList>>& rows);

    // The rows the user changed and the last comparison with the register.
    const RowMarks& marks() const { return marks_; }
    // Changes the marks (RowMarks' settling calls); the view shows them anew.
    template <class Change>
    void settleMarks(Change&& change) {
        change(marks_);
        marksSettled();
    }

    // Many cells at once without a signal per cell; one reset at the end.
    class BulkUpdate {
    public:
        explicit BulkUpdate(GridModel& model);
        ~BulkUpdate();
        BulkUpdate(const BulkUpdate&) = delete;
        BulkUpdate& operator=(const BulkUpdate&) = delete;

    private:
        GridModel& model_;
    };

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The user typed or pasted a text that the entry rule refuses; the cell
    // keeps its previous text.
    void entryRefused(const QString& message);
    // The user changed a cell (typed or pasted); the program's own writes
    // through setCell do not count.
    void edited();
    // Marks went: rows were opened, saved, read, written or compared.
    void marksChanged();

private:
    void marksSettled();
    void userChange(int row, const std::function<void()>& change);
    CellMark markOf(int row, int column) const;

    int columns_;
    int rows_;
    int visibleRows_;
    int bulkDepth_ = 0;
    QVector<QString> cells_;
    RowMarks marks_;
};

}  // namespace tabulon
