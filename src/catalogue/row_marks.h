#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace tabulon {

// A field the register holds otherwise than the grid's cell, as the last
// comparison found it.
struct RegisterCell {
    int column = 0;                // grid column (1-based)
    std::optional<QString> value;  // nullopt: the register's reply ended before it
};

// What a grid knows of its rows besides their texts: which ones the user
// changed (typed into, pasted, emptied), and which ones the register was last
// found to hold otherwise. A change counts against two references: the table
// as last opened, saved, read or written, which the marks on screen and the
// close question go by; and the table as the connected register was last
// known to hold it, which a write of the changed rows goes by (saving a file
// tells nothing of the register). A row typed back to a reference is no
// longer changed against it. Only rows that carry something are kept, so
// that 10 000 untouched rows cost nothing.
class RowMarks {
public:
    // The user changed `row` (its data columns 1 onward) from `before` to
    // `after`. The comparison marks of the cells changed go.
    void changed(int row, const QStringList& before, const QStringList& after);

    // Changed since the table was last opened, saved, read or written.
    bool isEdited(int row) const;
    bool anyEdited() const;
    // The row's text before the user changed it; null for a row not edited.
    const QStringList* original(int row) const;
    // Rows changed since the table was opened, or since the register last
    // held them, ascending; nullopt after the register's table was cleared.
    std::optional<QList<int>> changedForRegister() const;
    // Rows the last comparison found different or could not read, and rows
    // changed against the register since, ascending; nullopt without a
    // comparison since connecting, opening or clearing.
    std::optional<QList<int>> differingRows() const;
    // The register's field for a cell marked by the comparison.
    const RegisterCell* registerCell(int row, int column) const;

    // Grows with every change: a run's end settles no row changed after the
    // run began.
    quint64 stamp() const { return stamp_; }

    // A file was opened into the grid: the rows changed from now on are the
    // ones to write.
    void opened();
    // A register was connected: the last comparison was another's.
    void connected();
    // The grid was saved to a file.
    void saved();
    // `rows` (nullopt: all) were read from or written to the register, and
    // hold what it holds.
    void transferred(const std::optional<QList<int>>& rows, quint64 since);
    // `rows` were compared with the register: `differing` (by row) and
    // `unread` are what it found. The marks of any earlier comparison go.
    void compared(const QList<int>& rows, const QHash<int, QList<RegisterCell>>& differing,
                  const QList<int>& unread, quint64 since);
    // The register's table cleared: what it holds is unknown until it is
    // read, written or compared.
    void registerChanged();

private:
    struct Row {
        std::optional<QStringList> original;     // for the file
        std::optional<QStringList> forRegister;  // for the register
        quint64 stamp = 0;
    };
    void forgetComparison();
    void settle(int row, quint64 since, bool file);

    QHash<int, Row> rows_;
    QHash<int, QList<RegisterCell>> registerCells_;
    std::optional<QSet<int>> differingRows_;
    bool registerKnown_ = true;  // an empty grid is a table like any opened one
    quint64 stamp_ = 0;
};

}  // namespace tabulon
