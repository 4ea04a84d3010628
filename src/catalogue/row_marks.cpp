#include "catalogue/row_marks.h"

#include <algorithm>

namespace tabulon {

namespace {

QList<int> ascending(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

void RowMarks::changed(int row, const QStringList& before, const QStringList& after) {
    Row& marks = rows_[row];
    if (!marks.original) marks.original = before;
    if (!marks.forRegister) marks.forRegister = before;
    if (*marks.original == after) marks.original.reset();
    if (*marks.forRegister == after) marks.forRegister.reset();
    marks.stamp = ++stamp_;
    if (!marks.original && !marks.forRegister) rows_.remove(row);

    const auto cells = registerCells_.find(row);
    if (cells == registerCells_.end()) return;
    cells->removeIf([&](const RegisterCell& cell) {
        return before.value(cell.column - 1) != after.value(cell.column - 1);
    });
    if (cells->isEmpty()) registerCells_.erase(cells);
}

bool RowMarks::isEdited(int row) const {
    const auto marks = rows_.find(row);
    return marks != rows_.end() && marks->original;
}

bool RowMarks::anyEdited() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const Row& row) { return row.original; });
}

const QStringList* RowMarks::original(int row) const {
    const auto marks = rows_.find(row);
    return marks != rows_.end() && marks->original ? &*marks->original : nullptr;
}

std::optional<QList<int>> RowMarks::changedForRegister() const {
    if (!registerKnown_) return std::nullopt;
    QList<int> rows;
    for (auto marks = rows_.begin(); marks != rows_.end(); ++marks)
        if (marks->forRegister) rows << marks.key();
    return ascending(rows);
}

std::optional<QList<int>> RowMarks::differingRows() const {
    if (!differingRows_) return std::nullopt;
    QSet<int> rows = *differingRows_;
    // A row changed since is no longer what the register was found holding.
    for (auto marks = rows_.begin(); marks != rows_.end(); ++marks)
        if (marks->forRegister) rows.insert(marks.key());
    return ascending(rows.values());
}

const RegisterCell* RowMarks::registerCell(int row, int column) const {
    const auto cells = registerCells_.find(row);
    if (cells == registerCells_.end()) return nullptr;
    for (const RegisterCell& cell : *cells)
        if (cell.column == column) return &cell;
    return nullptr;
}

void RowMarks::opened() {
    // The file is taken for what the register holds: an engineer opens last
    // week's table, which the register got then, and sends only the rows
    // changed since.
    rows_.clear();
    registerKnown_ = true;
    forgetComparison();
}

void RowMarks::connected() {
    // Differences found on another connection may not be this register's;
    // the rows changed are changed against the table whatever the register.
    forgetComparison();
}

void RowMarks::saved() {
    for (auto marks = rows_.begin(); marks != rows_.end();) {
        marks->original.reset();
        marks = marks->forRegister ? std::next(marks) : rows_.erase(marks);
    }
}

void RowMarks::settle(int row, quint64 since, bool file) {
    const auto marks = rows_.find(row);
    // A row changed while the run went on is not what the register got.
    if (marks == rows_.end() || marks->stamp > since) return;
    marks->forRegister.reset();
    if (file) marks->original.reset();
    if (!marks->original) rows_.erase(marks);
}

void RowMarks::transferred(const std::optional<QList<int>>& rows, quint64 since) {
    registerKnown_ = true;
    if (rows) {
        for (int row : *rows) {
            settle(row, since, true);
            registerCells_.remove(row);
            if (differingRows_) differingRows_->remove(row);
        }
        return;
    }
    for (int row : rows_.keys()) settle(row, since, true);
    registerCells_.clear();
    if (differingRows_) differingRows_->clear();
}

void RowMarks::compared(const QList<int>& rows, const QHash<int, QList<RegisterCell>>& differing,
                        const QList<int>& unread, quint64 since) {
    registerKnown_ = true;
    // A row found otherwise is not what the register holds: a change typed
    // into it is still to be written.
    for (int row : rows)
        if (!differing.contains(row)) settle(row, since, false);
    registerCells_ = differing;
    differingRows_ = QSet<int>(unread.begin(), unread.end());
    for (auto cells = differing.begin(); cells != differing.end(); ++cells)
        differingRows_->insert(cells.key());
}

void RowMarks::registerChanged() {
    registerKnown_ = false;
    for (auto marks = rows_.begin(); marks != rows_.end();) {
        marks->forRegister.reset();
        marks = marks->original ? std::next(marks) : rows_.erase(marks);
    }
    forgetComparison();
}

void RowMarks::forgetComparison() {
    registerCells_.clear();
    differingRows_.reset();
}

}  // namespace tabulon
