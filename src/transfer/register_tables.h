#pragma once

#include <QStringList>
#include <array>
#include <vector>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon {

// The register's side of every table the window edits: which register table
// holds it, which records exist, and how a grid row becomes the fields of a
// record. Writing, reading and clearing all take their numbers from here and
// from nowhere else.

// A run of record numbers, both ends included.
struct RecordRange {
    int first;
    int last;

    bool contains(int record) const { return record >= first && record <= last; }
    int count() const { return last - first + 1; }
    bool operator==(const RecordRange&) const = default;
};

// How a record field is made from its grid cell.
enum class FieldRule {
    AsIs,            // the cell as typed
    Cut,             // the first `cut` characters
    CutZeroIfEmpty,  // "0" for an empty cell, else the first `cut` characters
    Price,           // a number with two decimals; "0.00" for an empty cell
    Quantity,        // a number with three decimals; "0.000" for an empty cell
    Zero,            // always "0": a field the register wants that the grid has no column for
};

struct RecordField {
    int column;  // grid column feeding the field (1-based); 0 for FieldRule::Zero
    FieldRule rule;
    std::array<int, kModelCount> cut;  // characters kept, per model, for the Cut rules
};

struct GridTable {
    TableKind kind;
    int tableNumber;
    // Records written and cleared. Payment type 1 (cash) is the register's own
    // and is only ever read.
    std::array<RecordRange, kModelCount> written;
    std::array<RecordRange, kModelCount> read;
    int dataColumns;                  // grid columns 1..dataColumns hold the table
    int acceptedReplyFields;          // fields a reply may carry; one more is bad data
    std::vector<RecordField> fields;  // record order
};

struct ParameterTable {
    ParameterSet set;
    int tableNumber;
    int record;  // the set is one record; its fields per model are the catalogue's
};

const GridTable& registerTable(TableKind kind);
const ParameterTable& registerTable(ParameterSet set);

inline int registerTableNumber(TableKind kind) {
    return registerTable(kind).tableNumber;
}
inline int registerTableNumber(ParameterSet set) {
    return registerTable(set).tableNumber;
}

RecordRange writtenRecords(TableKind kind, Model model);
RecordRange clearedRecords(TableKind kind, Model model);
RecordRange readRecords(TableKind kind, Model model);

// The edit fields of a set that the model's record holds, in record order
// ("Edit5", "Edit6", ...).
QStringList parameterRecordFields(ParameterSet set, Model model);

}  // namespace tabulon
