#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon {

// The default record that clearing writes into `record` of a table, in
// Windows-1251; nullopt for a record the table does not have on that model.
// Payment type 1 (cash) has one too, although clearing never writes it.
std::optional<QByteArray> ClearingRecord(TableKind kind, int record, Model model);

// The password a cleared register gives operator `op` (1 to 20).
QString defaultOperatorPassword(int op);

}  // namespace tabulon
