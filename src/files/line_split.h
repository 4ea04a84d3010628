#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tabulon::files {

// A table file line is a run of values, each followed by ";", the last one
// too. There is no quoting: a value holding ";" reads back as two values.

// The value that ends a line, without its line end: up to two trailing CR/LF
// characters come off.
QStringView withoutLineEnd(QStringView value);

// The values of one grid table line, columns 1..count.
struct GridLineValues {
    QStringList values;  // as many as the line gave before it ran out
    bool complete;       // all `count` values were there
};

// Splits a grid table line as read (with its line feed, if any). A value
// before a ";" loses a CR or LF among its last two characters and what follows
// it; the value that ends the line loses up to two trailing CR/LF characters.
// The last value may stand without its ";". Text after the count-th ";" is
// ignored. When the line runs out before the count-th value, the values taken
// before the one that ran out are returned and `complete` is false.
GridLineValues splitGridLine(QStringView line, int count);

// The values of a parameter line: the text before each ";", verbatim, for at
// most `count` values. Text without a closing ";" is not a value.
QStringList splitParameterLine(QStringView line, int count);

// The values, each followed by ";", then `emptyTail` more ";" for empty values,
// without a line end.
QString joinLine(const QStringList& values, int emptyTail = 0);

}  // namespace tabulon::files
