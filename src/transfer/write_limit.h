#pragma once

#include <QtGlobal>

#include "link/register_link.h"

namespace tabulon {

// The longest write command ("W", table, ";", record, ";", data) the link
// sends: a record that would pass it is refused before it reaches the link.
inline constexpr int kMaxWriteCommandBytes = link::RegisterLink::kMaxWriteCommand;

// Bytes of the write command text that carries `dataBytes` bytes of record
// data into `record` of register `table`.
int writeCommandLength(int table, int record, qsizetype dataBytes);

}  // namespace tabulon
