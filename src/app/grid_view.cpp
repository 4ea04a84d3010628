#include "app/grid_view.h"

#include <QColor>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "app/entry_validator.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "sdcard/grid_headers.h"

namespace tabulon::app {

namespace {

// Pale enough to leave the text as readable as on white, and used nowhere
// else in the window: the user's own changes not yet saved or sent, and the
// cells the register was last found to hold otherwise.
const QColor kEditedCell(255, 248, 196);
const QColor kDifferingCell(224, 224, 255);

class EntryDelegate : public QStyledItemDelegate {
public:
    EntryDelegate(EntryRefusals* refusals, QObject* parent)
        : QStyledItemDelegate(parent), refusals_(refusals) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) new EntryValidator(edit, refusals_);
        return editor;
    }

    // The cell's text goes into the editor as it is stored; only what the
    // user then types is checked.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(editor))
            EntryValidator::setTextUnchecked(edit, index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        switch (GridModel::CellMark(index.data(GridModel::CellMarkRole).toInt())) {
            case GridModel::CellMark::Edited:
                option->backgroundBrush = kEditedCell;
                break;
            case GridModel::CellMark::Differs:
                option->backgroundBrush = kDifferingCell;
                break;
            case GridModel::CellMark::None:
                break;
        }
    }

private:
    EntryRefusals* refusals_;
};

}  // namespace

GridView::GridView(const GridShape& shape, GridModel* model, EntryRefusals* refusals,
                   QWidget* parent)
    : QTableView(parent), model_(model) {
    setObjectName(shape.objectName);
    setModel(model);
    setItemDelegate(new EntryDelegate(refusals, this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(true);
    setEditing(true);
    setWordWrap(false);

    sdcard::setUpGridHeaders(*this, *model, shape.rowHeight);
}

void GridView::setEditing(bool on) {
    if (!on && state() == QAbstractItemView::EditingState) {
        // Leaving the cell puts what is typed so far into it and closes the
        // editor, as a click elsewhere would.
        const QModelIndex current = currentIndex();
        setCurrentIndex(QModelIndex());
        setCurrentIndex(current);
    }
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                       : QAbstractItemView::NoEditTriggers);
}

void GridView::setGridColumnWidth(int column, int width) {
    if (column == 0)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(column - 1, width);
}

}  // namespace tabulon::app
