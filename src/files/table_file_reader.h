#pragma once

#include <QString>
#include <functional>

#include "files/file_layout.h"

class QIODevice;

namespace tabulon {
class GridModel;
class ParameterValues;
}  // namespace tabulon

namespace tabulon::files {

enum class ReadOutcome {
    Complete,
    // The file ended, or an empty line came, before the last expected line.
    EndOfFile,
    // A grid line ran out before its last value.
    ShortLine,
    // The device could not be read.
    DeviceError,
};

struct ReadResult {
    ReadOutcome outcome;
    int linesStored;  // grid lines fully stored before the outcome
    // ShortLine and DeviceError: the first character of the line being read,
    // empty when that line starts with ";" (or could not be read at all).
    QString lineStart;
    // The first file line that was too long to be read in one piece: its rest
    // was taken as the next line, so every row after it moved down by one.
    // 0: none.
    int splitLine = 0;
    // Parameter lines: the values the line gave, at most the layout's fields.
    int values = 0;
    // Parameter lines short of values: what follows the last ";", without its
    // line end, a value the line does not close and so does not give.
    QString unended = QString();
    // The file's bytes are UTF-8 with letters beyond ASCII, as an editor
    // saves it: its lines were read as UTF-8, not as Windows-1251, which
    // would have turned every such letter into two wrong ones.
    bool readAsUtf8 = false;
};

// For the user, when a file was read as UTF-8: "shop.otd: read as UTF-8
// (its bytes are not Windows-1251 text)".
QString readAsUtf8Note(const QString& fileName);

// Fills rows 1..layout.lines, columns 1..layout.values of the grid from the
// file's lines; lines after the last are not read. On a failure the rows
// already read keep the file's values, the rest keep what they held. Calls
// `lineRead` after each stored line.
ReadResult readGridTable(QIODevice& file, GridModel& grid, const GridFileLayout& layout,
                         const std::function<void()>& lineRead = {});

// Fills the layout's fields in order from the first line of the file, as far
// as the line has values; the fields beyond keep their texts.
ReadResult readParameterLine(QIODevice& file, ParameterValues& fields,
                             const ParameterFileLayout& layout);

}  // namespace tabulon::files
