#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tabulon::import {

// Delimited text as spreadsheets write it: values separated by one
// character, a value that holds it (or a quote) enclosed in '"' with '""'
// for a quote inside. Lines end in CR LF or LF.

// The delimiters a spreadsheet export uses, in the order a tie goes to.
inline constexpr QChar kDelimiters[] = {u';', u'\t', u','};

// The delimiter that stands most often outside quotes in the first line
// that holds any; ";" when none does.
QChar detectDelimiter(QStringView text);

struct DelimitedLine {
    int line;  // the file line it starts on, from 1
    QStringList values;
};

struct DelimitedLines {
    QList<DelimitedLine> lines;  // empty lines left out
    // A quoted value ran over the end of its line: the line it started on,
    // and nothing is read. A register takes no line break, and a quote
    // that was never closed would swallow every row after it. 0: none.
    int brokenQuoteLine = 0;
};

DelimitedLines splitDelimited(QStringView text, QChar delimiter);

}  // namespace tabulon::import
