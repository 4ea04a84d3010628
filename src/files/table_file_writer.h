#pragma once

#include <QByteArray>
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
    // A line longer than a reader takes in one piece: it would load as two
    // lines, shifting the rows after it.
    LineTooLong,
    // The device took fewer bytes than it was given.
    DeviceError,
};

// One file line: the values each followed by ";", the empty tail, CR LF, in
// Windows-1251. nullopt when a value cannot be encoded.
std::optional<QByteArray> encodeLine(const QStringList& values, int emptyTail = 0);

// Writes rows 1..layout.lines, columns 1..layout.values of the grid, one line
// per row, empty rows included. Calls `lineWritten` after each line. Stops at
// the first line that cannot be encoded, read back whole, or written.
WriteOutcome writeGridTable(const GridModel& grid, const GridFileLayout& layout, QIODevice& file,
                            const std::function<void()>& lineWritten = {});

// Writes the one line of the layout's fields.
WriteOutcome writeParameterLine(const ParameterValues& fields, const ParameterFileLayout& layout,
                                QIODevice& file);

}  // namespace tabulon::files
