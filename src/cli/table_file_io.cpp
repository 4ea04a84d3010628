#include "cli/table_file_io.h"

#include <QFile>
#include <QFileInfo>

#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "cli/cli_commands.h"
#include "cli/table_names.h"
#include "disk/input_file.h"
#include "disk/safe_save.h"
#include "files/line_reader.h"
#include "files/table_file_reader.h"
#include "files/table_file_writer.h"

namespace tabulon::cli {

namespace {

// `needed`: the lines the command takes from the file; a file that ends after
// them holds all it is asked for.
std::optional<QString> readFailure(const QString& path, const files::ReadResult& result,
                                   const QString& expected, int needed) {
    // Its rest would go into the next row, and every row after it one further.
    if (result.splitLine > 0) {
        return QStringLiteral("%1: line %2 is longer than %3 bytes and would be read as two lines")
            .arg(path)
            .arg(result.splitLine)
            .arg(files::LineReader::kMaxLineBytes - 1);
    }
    switch (result.outcome) {
        case files::ReadOutcome::Complete:
            return std::nullopt;
        case files::ReadOutcome::EndOfFile:
            if (result.linesStored >= needed) return std::nullopt;
            if (result.linesStored == 0)
                return QStringLiteral("%1: no line to read; %2").arg(path, expected);
            return QStringLiteral("%1: the lines end after line %2; %3")
                .arg(path)
                .arg(result.linesStored)
                .arg(expected);
        case files::ReadOutcome::ShortLine:
            return QStringLiteral("%1: line %2 has too few values; %3")
                .arg(path)
                .arg(result.linesStored + 1)
                .arg(expected);
        case files::ReadOutcome::DeviceError:
            return QStringLiteral("%1: line %2 could not be read")
                .arg(path)
                .arg(result.linesStored + 1);
    }
    return std::nullopt;
}

std::optional<QString> writeFailure(disk::SafeSave& file, const files::WriteResult& written) {
    if (written.outcome == files::WriteOutcome::Complete) {
        if (file.commit()) return std::nullopt;
        return QStringLiteral("%1: not written: %2").arg(file.fileName(), file.errorString());
    }
    file.cancel();
    const QString detail = files::writeFailureDetail(written);
    return QStringLiteral("%1: not written: %2")
        .arg(file.fileName(), detail.isEmpty() ? file.errorString() : detail);
}

// The file was not read the way table files always were: the user hears it,
// whatever else becomes of the command, and in a fleet with the register's
// name as its other lines.
void noteUtf8(const QString& path, const files::ReadResult& result, CliConsole& console) {
    if (result.readAsUtf8) console.message(files::readAsUtf8Note(path));
}

}  // namespace

std::unique_ptr<GridModel> emptyGrid(TableKind kind) {
    const GridShape& shape = gridShape(kind);
    return std::make_unique<GridModel>(shape.columns, shape.rows);
}

std::optional<QString> loadGridFile(const QString& path, TableKind kind, Model model,
                                    GridModel& grid, CliConsole& console,
                                    std::optional<int> rowsNeeded) {
    QFile file(path);
    QString error;
    if (!disk::openToRead(file, error))
        return QStringLiteral("%1: cannot open: %2").arg(path, error);
    const files::GridFileLayout layout = files::gridFileLayout(kind, model);
    const QString expected =
        QStringLiteral("%1 files for %2 have %3 of %4")
            .arg(tableName(int(kind)), modelName(model), counted(layout.lines, u"line"),
                 counted(layout.values, u"value"));
    const files::ReadResult result = files::readGridTable(file, grid, layout);
    noteUtf8(path, result, console);
    return readFailure(path, result, expected, rowsNeeded.value_or(layout.lines));
}

std::optional<QString> loadParameterFile(const QString& path, ParameterSet set, Model model,
                                         ParameterValues& fields, CliConsole& console) {
    QFile file(path);
    QString error;
    if (!disk::openToRead(file, error))
        return QStringLiteral("%1: cannot open: %2").arg(path, error);
    const files::ParameterFileLayout layout = files::parameterFileLayout(set, model);
    const int values = int(layout.fields.size());
    const QString expected =
        QStringLiteral("%1 files for %2 have one line of %3")
            .arg(tableName(int(set)), modelName(model), counted(values, u"value"));
    const files::ReadResult result = files::readParameterLine(file, fields, layout);
    noteUtf8(path, result, console);
    if (std::optional<QString> failure = readFailure(path, result, expected, 1)) return failure;
    // The fields it lacks would go to the register empty.
    if (result.values < values) {
        // A last value without its ";" is not read: the line that looks whole
        // must say why it is not.
        const QString unended =
            result.unended.isEmpty()
                ? QString()
                : QStringLiteral("; \"%1\" at its end has no \";\" after it").arg(result.unended);
        return QStringLiteral("%1: line 1 has only %2%3; %4")
            .arg(path, counted(result.values, u"value"), unended, expected);
    }
    return std::nullopt;
}

StartingGrid startingGrid(const QString& path, TableKind kind, Model model, CliConsole& console) {
    StartingGrid start{emptyGrid(kind), EarlierFile::None, QString()};
    // Only a file has rows to keep. A pipe under that name would be waited
    // on for good; it is refused when the output is opened.
    if (!QFileInfo(path).isFile()) return start;
    std::unique_ptr<GridModel> earlier = emptyGrid(kind);
    if (std::optional<QString> problem = loadGridFile(path, kind, model, *earlier, console)) {
        start.earlier = EarlierFile::Unusable;
        start.problem = *problem;
    } else {
        start = {std::move(earlier), EarlierFile::Kept, QString()};
    }
    return start;
}

std::optional<QString> openOutput(disk::SafeSave& file) {
    if (file.open()) return std::nullopt;
    return QStringLiteral("%1: cannot create: %2").arg(file.fileName(), file.errorString());
}

std::optional<QString> commitGridFile(disk::SafeSave& file, const GridModel& grid, TableKind kind,
                                      Model model) {
    return writeFailure(
        file, files::writeGridTable(grid, files::gridFileLayout(kind, model), file.device()));
}

std::optional<QString> commitParameterFile(disk::SafeSave& file, const ParameterValues& fields,
                                           ParameterSet set, Model model) {
    return writeFailure(file, files::writeParameterLine(
                                  fields, files::parameterFileLayout(set, model), file.device()));
}

}  // namespace tabulon::cli
