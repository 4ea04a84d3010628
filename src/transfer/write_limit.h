#pragma once

#include <QtGlobal>

namespace tabulon {

// The register link frames a write command ("W", table, ";", record, ";",
// data) in a 200-byte frame, which leaves 196 bytes for the command text.
inline constexpr int kMaxWriteCommandBytes = 196;

// Bytes of the write command text that carries `dataBytes` bytes of record
// data into `record` of register `table`.
int writeCommandLength(int table, int record, qsizetype dataBytes);

}  // namespace tabulon
