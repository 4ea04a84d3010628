#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <map>
#include <utility>

#include "sim/model.h"

namespace tabulon::sim {

// Why the register cannot take a record; the number is the one of its "E" reply.
enum class Refusal {
    None = 0,
    UnknownTable = 1,
    RecordOutOfRange = 2,
    ReadOnlyTable = 3,
    NoFields = 4
};

struct TableShape {
    int table = 0;
    int records = 0;  // numbered from 1
    int fields = 0;   // fields of a record as the register keeps and replies it
    bool writable = true;
};

// The tables a register of one model holds, with sensible contents until the
// computer writes them. Records are kept as Windows-1251 field texts, each field
// closed by ";".
class RegisterTables {
public:
    explicit RegisterTables(Model model) : model_(model) {}

    Model model() const { return model_; }
    // nullptr for a table this model does not have.
    const TableShape* shape(int table) const;

    Refusal read(int table, int record, QByteArray& fields) const;
    // Complete fields of `data` replace the record's leading fields; fields
    // beyond the table's count are dropped, missing ones keep their contents.
    Refusal write(int table, int record, QByteArrayView data);

    // Forgets everything written.
    void reset() { written_.clear(); }

private:
    Refusal check(int table, int record) const;

    Model model_;
    std::map<std::pair<int, int>, QByteArray> written_;
};

// What a fresh register holds in a record (in range, table known).
QByteArray defaultRecord(Model model, int table, int record);

// Text in the register's code page.
QByteArray cp1251(const QString& text);

}  // namespace tabulon::sim
