#pragma once

#include <QString>

namespace tabulon::text {

// A whole number for a person to read, its thousands set apart by blanks:
// "4 321", "10 000". Never for a file or a register.
QString groupedNumber(qint64 number);

}  // namespace tabulon::text
