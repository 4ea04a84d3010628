#pragma once

#include <QString>

#include "import/import_plan.h"

namespace tabulon::import {

// The problems of an import in the window's words and the command line's.
// `column` is the file column (from 1) with its heading.

ImportProblem noRowsProblem();
ImportProblem noCodeColumnProblem();
ImportProblem brokenQuoteProblem(int line);
ImportProblem columnTwiceProblem(int first, int second, const QString& tableColumn);
ImportProblem tooManyRowsProblem(int line, int rows);
ImportProblem badCodeProblem(int line, int column, const QString& heading, const QString& code,
                             int rows);
ImportProblem codeTwiceProblem(int line, const QString& code, int earlierLine);
ImportProblem notANumberProblem(int line, int column, const QString& heading, const QString& value);
// The character at `at` of `value`, which Windows-1251 does not have
// (`control` false) or which the line cannot carry (true).
ImportProblem characterProblem(int line, int column, const QString& heading, const QString& value,
                               qsizetype at, bool control);
// A ";" inside a value: the record and the table file have no quoting.
ImportProblem separatorProblem(int line, int column, const QString& heading);
// A code or barcode as a spreadsheet rounded it ("4,6E+12").
ImportProblem roundedProblem(int line, int column, const QString& heading, const QString& value);
// The row would take `bytes` in a line of the table file, which holds `most`.
ImportProblem fileLineProblem(int line, qsizetype bytes, qsizetype most);
// A row refused as a whole: `message`/`english` are the record's own.
ImportProblem rowProblem(int line, const QString& message, const QString& english);
ImportProblem cutWarning(int line, int column, const QString& heading, const QString& value,
                         int kept);

}  // namespace tabulon::import
