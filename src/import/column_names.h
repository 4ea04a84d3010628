#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "catalogue/table_kind.h"

namespace tabulon::import {

// Where a column of a delimited file goes in the table.
inline constexpr int kIgnoredColumn = -1;   // nowhere: the table has no such column
inline constexpr int kRowNumberColumn = 0;  // the row's number ("Номер", "Ряд", "#")

// The table column (1 onward, or kRowNumberColumn) a column heading names,
// in any letter case and with blanks around it: the grid's own heading, or
// a name accounting programs use for it ("Артикул", "Цена продажи",
// "Штрихкод" ...). kIgnoredColumn for a name the table does not have.
int columnOfHeading(TableKind kind, QStringView heading);

// The table column a command line names: its number, or a heading as above;
// "-" for kIgnoredColumn, and kUnknownColumn when the word names none.
inline constexpr int kUnknownColumn = -2;
int columnOfWord(TableKind kind, QStringView word);

// The grid's heading of a table column (kRowNumberColumn included).
QString columnHeading(TableKind kind, int column);

// A column the record takes as a price or a quantity: a spreadsheet writes
// its numbers in its own way.
bool holdsNumber(TableKind kind, int column);

}  // namespace tabulon::import
