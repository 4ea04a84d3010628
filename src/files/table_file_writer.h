#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "files/file_layout.h"

class QIODevice;

namespace tabulon {
class GridModel;
class ParameterValues;
}  // namespace tabulon

namespace tabulon::files {

enum class WriteOutcome {
    Complete,
    // A value holds a character that Windows-1251 cannot represent; writing
    // it would put a substitute byte into the file.
    NotEncodable,
    // A value holds a control character: a CR or LF would split the line, and
    // no reader or register takes the others inside a value.
    ControlCharacter,
    // A line longer than a reader takes in one piece: it would load as two
    // lines, shifting the rows after it.
    LineTooLong,
    // The device took fewer bytes than it was given.
    DeviceError,
};

// How a write ended, and where it stopped when it failed.
struct WriteResult {
    WriteOutcome outcome = WriteOutcome::Complete;
    int line = 0;       // the file line (the grid row) that was not written
    int value = 0;      // its value at fault (NotEncodable, ControlCharacter)
    QString character;  // that value's culprit, described for a message

    bool operator==(WriteOutcome other) const { return outcome == other; }
};

// For the user, after the failure text: which line and why; empty for a
// device error, whose line says nothing useful.
QString writeFailureDetail(const WriteResult& result);

// Writes `values` as file line number `line` (see encodeLine); stops short
// of the device when a value cannot go into a line or the line would not
// read back whole.
WriteResult writeFileLine(const QStringList& values, int emptyTail, int line, QIODevice& file);

// One file line: the values each followed by ";", the empty tail, CR LF, in
// Windows-1251. nullopt when a value holds a character that Windows-1251
// cannot encode or a control character.
std::optional<QByteArray> encodeLine(const QStringList& values, int emptyTail = 0);

// The most bytes a line of encodeLine's may hold before its CR LF: a longer
// one would be read back as two.
qsizetype longestFileLine();

// Writes rows 1..layout.lines, columns 1..layout.values of the grid, one line
// per row, empty rows included. Calls `lineWritten` after each line. Stops at
// the first line that cannot be encoded, read back whole, or written.
WriteResult writeGridTable(const GridModel& grid, const GridFileLayout& layout, QIODevice& file,
                           const std::function<void()>& lineWritten = {});

// Writes the one line of the layout's fields.
WriteResult writeParameterLine(const ParameterValues& fields, const ParameterFileLayout& layout,
                               QIODevice& file);

}  // namespace tabulon::files
