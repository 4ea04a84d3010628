#pragma once

#include <QString>

namespace tabulon::transfer {

// "10 000": thousands set apart, as the window writes a count of rows.
QString groupedCount(qsizetype count);
// "строка", "строки" or "строк", as Russian says it after `count`.
QString rowsWord(qsizetype count);
// "12 строк", "10 000 строк", "1 строка".
QString countedRows(qsizetype count);

}  // namespace tabulon::transfer
