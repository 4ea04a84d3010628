#pragma once

#include <QString>
#include <QStringView>

namespace tabulon::import {

// A price or quantity as a spreadsheet in a Russian locale writes it, in the
// grid's form: blanks (also no-break and thin ones) between the thousands
// go, a decimal comma becomes ".", and a currency sign after the number
// ("₽", "р.", "руб.") goes: "1 234,50 руб." gives "1234.50". Any other
// text comes back trimmed and otherwise as it was, for the record's own
// check to refuse.
QString gridNumber(QStringView text);

}  // namespace tabulon::import
