#pragma once

#include <QByteArray>

#include "sim/tables.h"

namespace tabulon::testing {

// A report as a simulated register holds it, as its file has it: a line a
// record, the record number and its fields without the closing ";", apart by
// the separator.
inline QByteArray reportFile(const sim::RegisterTables& tables, int table, int records,
                             char separator = ';') {
    QByteArray bytes;
    for (int record = 1; record <= records; ++record) {
        QByteArray fields;
        tables.read(table, record, fields);
        fields.chop(1);
        QByteArray line = QByteArray::number(record) + ';' + fields;
        bytes += line.replace(';', separator) + "\r\n";
    }
    return bytes;
}

// The same of a register of that model as it starts.
inline QByteArray reportFile(sim::Model model, int table, int records, char separator = ';') {
    return reportFile(sim::RegisterTables(model), table, records, separator);
}

}  // namespace tabulon::testing
