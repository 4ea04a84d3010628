#include "files/table_file_writer.h"

#include <QIODevice>

#include "catalogue/grid_model.h"
#include "catalogue/parameter_values.h"
#include "files/line_reader.h"
#include "files/line_split.h"
#include "text/cp1251.h"

namespace tabulon::files {

namespace {

// The first value that cannot go into a line, and why.
WriteResult unsafeValue(const QStringList& values, int line) {
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString& value = values[i];
        if (const qsizetype at = text::firstControl(value); at >= 0)
            return {WriteOutcome::ControlCharacter, line, int(i + 1),
                    text::describeCharacter(value, at)};
        if (const qsizetype at = text::firstNonCp1251(value); at >= 0)
            return {WriteOutcome::NotEncodable, line, int(i + 1),
                    text::describeCharacter(value, at)};
    }
    return {WriteOutcome::NotEncodable, line, 0, {}};
}

}  // namespace

WriteResult writeFileLine(const QStringList& values, int emptyTail, int line, QIODevice& file) {
    const std::optional<QByteArray> bytes = encodeLine(values, emptyTail);
    if (!bytes) return unsafeValue(values, line);
    if (bytes->size() - 2 > longestFileLine()) return {WriteOutcome::LineTooLong, line, 0, {}};
    if (file.write(*bytes) != bytes->size()) return {WriteOutcome::DeviceError, line, 0, {}};
    return {};
}

QString writeFailureDetail(const WriteResult& result) {
    switch (result.outcome) {
        case WriteOutcome::NotEncodable:
            return QStringLiteral(
                       "Строка %1, значение %2: символ %3, которого нет в кодировке "
                       "Windows-1251.")
                .arg(result.line)
                .arg(result.value)
                .arg(result.character);
        case WriteOutcome::ControlCharacter:
            return QStringLiteral("Строка %1, значение %2: управляющий символ %3.")
                .arg(result.line)
                .arg(result.value)
                .arg(result.character);
        case WriteOutcome::LineTooLong:
            return QStringLiteral(
                       "Строка %1 длиннее %2 байт: при чтении файла она разделилась "
                       "бы на две.")
                .arg(result.line)
                .arg(longestFileLine());
        case WriteOutcome::Complete:
        case WriteOutcome::DeviceError:
            break;
    }
    return {};
}

std::optional<QByteArray> encodeLine(const QStringList& values, int emptyTail) {
    const QString line = joinLine(values, emptyTail);
    if (text::firstControl(line) >= 0) return std::nullopt;
    std::optional<QByteArray> bytes = text::toCp1251(line);
    if (bytes) bytes->append("\r\n");
    return bytes;
}

qsizetype longestFileLine() {
    // Read back, CR LF counts as one line feed.
    return LineReader::kMaxLineBytes - 1;
}

WriteResult writeGridTable(const GridModel& grid, const GridFileLayout& layout, QIODevice& file,
                           const std::function<void()>& lineWritten) {
    for (int row = 1; row <= layout.lines; ++row) {
        const WriteResult result = writeFileLine(grid.rowCells(row, layout.values), 0, row, file);
        if (result.outcome != WriteOutcome::Complete) return result;
        if (lineWritten) lineWritten();
    }
    return {};
}

WriteResult writeParameterLine(const ParameterValues& fields, const ParameterFileLayout& layout,
                               QIODevice& file) {
    QStringList values;
    for (const QString& field : layout.fields) values << fields.fieldText(field);
    return writeFileLine(values, layout.emptyTail, 1, file);
}

}  // namespace tabulon::files
