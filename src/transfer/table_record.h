#pragma once

#include <QByteArray>
#include <QStringList>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "transfer/built_record.h"

namespace tabulon {

// The record of one grid row. `cells` are the texts of grid columns 1, 2, ...
// of the row (a missing cell counts as empty). Cells are not trimmed; names are
// cut to what the register keeps; prices and quantities are reformatted with
// "." and two or three decimals. Refused, with nothing to send, when a price or
// quantity is not a number, a character has no Windows-1251 byte, or the write
// command for `place.record` would pass what the link takes.
BuiltRecord BuildTableRecord(TableKind kind, const QStringList& cells, Model model,
                             RecordPlace place);

// A reply taken apart for columns 1, 2, ... of a row. Columns beyond `cells`
// keep what they hold. `badData` is set when the reply carries more fields than
// the table has columns; `cells` then holds the fields before the extra one,
// which still go into the row.
struct TableReply {
    QStringList cells;
    bool badData = false;
};

TableReply ParseTableRecord(TableKind kind, const QByteArray& reply);

}  // namespace tabulon
