#include "files/table_file_reader.h"

#include <QIODevice>

#include "catalogue/grid_model.h"
#include "catalogue/parameter_values.h"
#include "files/line_reader.h"
#include "files/line_split.h"
#include "text/cp1251.h"
#include "text/utf8_text.h"

namespace tabulon::files {

namespace {

// Whether the whole file is UTF-8 text. Only a device that can go back to
// where it was is looked at ahead; the others read as Windows-1251, as they
// always have.
bool fileIsUtf8(QIODevice& file) {
    if (file.isSequential()) return false;
    const qint64 start = file.pos();
    const QByteArray bytes = file.readAll();
    file.seek(start);
    return text::isUtf8WithNonAscii(bytes);
}

QString firstCharacter(const QString& line) {
    if (line.isEmpty() || line.front() == u';') return {};
    return line.first(1);
}

// The next line as text, or the outcome that ends the reading. A line feed on
// its own counts as the end of the data, as it always has for these files.
std::optional<ReadOutcome> nextLine(LineReader& reader, QByteArray& bytes, QString& line,
                                    bool utf8) {
    switch (reader.next(bytes)) {
        case LineReader::Status::End:
            return ReadOutcome::EndOfFile;
        case LineReader::Status::Error:
            return ReadOutcome::DeviceError;
        case LineReader::Status::Line:
            break;
    }
    if (bytes == "\n") return ReadOutcome::EndOfFile;
    if (!utf8) {
        line = text::fromCp1251(bytes);
        return std::nullopt;
    }
    // An editor's byte-order mark is no part of the first value.
    if (reader.fileLine() == 1 && bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    line = QString::fromUtf8(bytes);
    return std::nullopt;
}

void noteSplit(const LineReader& reader, ReadResult& result) {
    if (reader.lastLineCut() && result.splitLine == 0) result.splitLine = reader.fileLine();
}

}  // namespace

QString readAsUtf8Note(const QString& fileName) {
    return QStringLiteral("%1: read as UTF-8 (its bytes are not Windows-1251 text)").arg(fileName);
}

ReadResult readGridTable(QIODevice& file, GridModel& grid, const GridFileLayout& layout,
                         const std::function<void()>& lineRead) {
    GridModel::BulkUpdate bulk(grid);
    LineReader reader(file);
    QByteArray bytes;
    QString line;
    ReadResult result{ReadOutcome::Complete, 0, {}};
    result.readAsUtf8 = fileIsUtf8(file);
    for (int row = 1; row <= layout.lines; ++row) {
        if (auto failure = nextLine(reader, bytes, line, result.readAsUtf8)) {
            result.outcome = *failure;
            return result;
        }
        noteSplit(reader, result);
        const GridLineValues split = splitGridLine(line, layout.values);
        for (int column = 1; column <= split.values.size(); ++column)
            grid.setCell(row, column, split.values[column - 1]);
        if (!split.complete) {
            result.outcome = ReadOutcome::ShortLine;
            result.lineStart = firstCharacter(line);
            return result;
        }
        result.linesStored = row;
        if (lineRead) lineRead();
    }
    return result;
}

ReadResult readParameterLine(QIODevice& file, ParameterValues& fields,
                             const ParameterFileLayout& layout) {
    LineReader reader(file);
    QByteArray bytes;
    QString line;
    const bool utf8 = fileIsUtf8(file);
    if (auto failure = nextLine(reader, bytes, line, utf8)) return {*failure, 0, {}};
    ReadResult result{ReadOutcome::Complete, 1, {}};
    result.readAsUtf8 = utf8;
    noteSplit(reader, result);
    const QStringList values = splitParameterLine(line, layout.fields.size());
    qsizetype taken = 0;
    for (qsizetype i = 0; i < values.size(); ++i) {
        fields.setFieldText(layout.fields[i], values[i]);
        taken += values[i].size() + 1;
    }
    result.values = int(values.size());
    if (values.size() < layout.fields.size()) {
        QStringView rest = QStringView(line).sliced(taken);
        while (!rest.isEmpty() && (rest.back() == u'\n' || rest.back() == u'\r')) rest.chop(1);
        result.unended = rest.toString();
    }
    return result;
}

}  // namespace tabulon::files
