#include "catalogue/grid_model.h"

#include "catalogue/entry_rule.h"

namespace tabulon {

GridModel::GridModel(int columns, int rows, QObject* parent)
    : QAbstractTableModel(parent),
      columns_(columns),
      rows_(rows),
      visibleRows_(rows),
      cells_(qsizetype(columns) * rows) {}

QString GridModel::cell(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return {};
    return cells_[qsizetype(row) * columns_ + column];
}

void GridModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return;
    QString& stored = cells_[qsizetype(row) * columns_ + column];
    if (stored == text && stored.isNull() == text.isNull()) return;
    stored = text;
    if (bulkDepth_ > 0) return;
    if (row == 0 && column > 0) {
        emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
    } else if (column == 0 && row > 0) {
        if (row < visibleRows_) emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    } else if (row > 0 && row < visibleRows_) {
        QModelIndex at = index(row - 1, column - 1);
        emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
    }
}

QStringList GridModel::rowCells(int row, int count) const {
    QStringList cells;
    cells.reserve(count);
    for (int column = 1; column <= count; ++column) cells << cell(row, column);
    return cells;
}

void GridModel::setRowCells(int row, const QStringList& cells) {
    if (row < 1 || row >= rows_) return;
    const int count = int(std::min<qsizetype>(cells.size(), columns_ - 1));
    for (int column = 1; column <= count; ++column)
        cells_[qsizetype(row) * columns_ + column] = cells[column - 1];
    if (bulkDepth_ > 0 || count == 0 || row >= visibleRows_) return;
    emit dataChanged(index(row - 1, 0), index(row - 1, count - 1), {Qt::DisplayRole, Qt::EditRole});
}

void GridModel::setVisibleRows(int rows) {
    rows = qBound(1, rows, rows_);
    if (rows == visibleRows_) return;
    if (rows > visibleRows_) {
        beginInsertRows({}, visibleRows_ - 1, rows - 2);
        visibleRows_ = rows;
        endInsertRows();
    } else {
        beginRemoveRows({}, rows - 1, visibleRows_ - 2);
        visibleRows_ = rows;
        endRemoveRows();
    }
}

GridModel::BulkUpdate::BulkUpdate(GridModel& model) : model_(model) {
    if (model_.bulkDepth_++ == 0) model_.beginResetModel();
}

GridModel::BulkUpdate::~BulkUpdate() {
    if (--model_.bulkDepth_ == 0) model_.endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : visibleRows_ - 1;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_ - 1;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cell(row, column);
        case CellMarkRole:
            return int(markOf(row, column));
        case Qt::ToolTipRole:
            if (const RegisterCell* held = marks_.registerCell(row, column))
                return QStringLiteral("В ЭККА: %1")
                    .arg(held->value.value_or(QStringLiteral("нет")));
            return {};
        default:
            return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const QString text = value.toString();
    if (auto refusal = entryRefusal(text)) {
        emit entryRefused(*refusal);
        return false;
    }
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    if (cell(row, column) == text) {
        setCell(row, column, text);
        return true;
    }
    userChange(row, [&] { setCell(row, column, text); });
    emit dataChanged(this->index(row - 1, 0), this->index(row - 1, columns_ - 2), {CellMarkRole});
    emit edited();
    return true;
}

void GridModel::userChange(int row, const std::function<void()>& change) {
    const QStringList before = rowCells(row, columns_ - 1);
    change();
    const QStringList after = rowCells(row, columns_ - 1);
    if (before != after) marks_.changed(row, before, after);
}

void GridModel::emptyRows() {
    bool changed = false;
    {
        BulkUpdate bulk(*this);
        for (int row = 1; row < rows_; ++row) {
            setCell(row, 0, QString());
            if (rowCells(row, columns_ - 1).join(QString()).isEmpty()) continue;
            changed = true;
            userChange(row, [&] {
                for (int column = 1; column < columns_; ++column) setCell(row, column, QString());
            });
        }
    }
    if (changed) emit edited();
}

void GridModel::changeRows(const QList<std::pair<int, QStringList>>& rows) {
    {
        BulkUpdate bulk(*this);
        // No structured binding: clang 14 (the fuzz build) cannot capture one.
        for (const std::pair<int, QStringList>& change : rows) {
            const int row = change.first;
            if (row < 1 || row >= rows_) continue;
            userChange(row, [&] { setRowCells(row, change.second); });
        }
    }
    if (!rows.isEmpty()) emit edited();
}

void GridModel::marksSettled() {
    if (visibleRows_ > 1 && columns_ > 1)
        emit dataChanged(index(0, 0), index(visibleRows_ - 2, columns_ - 2),
                         {CellMarkRole, Qt::ToolTipRole});
    emit marksChanged();
}

GridModel::CellMark GridModel::markOf(int row, int column) const {
    if (marks_.registerCell(row, column)) return CellMark::Differs;
    const QStringList* original = marks_.original(row);
    if (original && original->value(column - 1) != cell(row, column)) return CellMark::Edited;
    return CellMark::None;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    return orientation == Qt::Horizontal ? cell(0, section + 1) : cell(section + 1, 0);
}

}  // namespace tabulon
