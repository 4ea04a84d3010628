#include "files/table_file_writer.h"

#include <QIODevice>

#include "catalogue/grid_model.h"
#include "catalogue/parameter_values.h"
#include "files/line_reader.h"
#include "files/line_split.h"
#include "text/cp1251.h"

namespace tabulon::files {

namespace {

WriteOutcome writeLine(const QStringList& values, int emptyTail, QIODevice& file) {
    const std::optional<QByteArray> bytes = encodeLine(values, emptyTail);
    if (!bytes) return WriteOutcome::NotEncodable;
    // Read back, CR LF counts as one line feed.
    if (bytes->size() - 1 > LineReader::kMaxLineBytes) return WriteOutcome::LineTooLong;
    if (file.write(*bytes) != bytes->size()) return WriteOutcome::DeviceError;
    return WriteOutcome::Complete;
}

}  // namespace

std::optional<QByteArray> encodeLine(const QStringList& values, int emptyTail) {
    std::optional<QByteArray> bytes = text::toCp1251(joinLine(values, emptyTail));
    if (bytes) bytes->append("\r\n");
    return bytes;
}

WriteOutcome writeGridTable(const GridModel& grid, const GridFileLayout& layout, QIODevice& file,
                            const std::function<void()>& lineWritten) {
    for (int row = 1; row <= layout.lines; ++row) {
        const WriteOutcome outcome = writeLine(grid.rowCells(row, layout.values), 0, file);
        if (outcome != WriteOutcome::Complete) return outcome;
        if (lineWritten) lineWritten();
    }
    return WriteOutcome::Complete;
}

WriteOutcome writeParameterLine(const ParameterValues& fields, const ParameterFileLayout& layout,
                                QIODevice& file) {
    QStringList values;
    for (const QString& field : layout.fields) values << fields.fieldText(field);
    return writeLine(values, layout.emptyTail, file);
}

}  // namespace tabulon::files
