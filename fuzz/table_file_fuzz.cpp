// Every table file format's reader. The first byte picks the table and the
// model, the rest is the file. A file that reads is written again; what the
// writer accepts reads back to the same grid or fields, and writing that gives
// the same bytes.
#include <QBuffer>

#include "catalogue/grid_model.h"
#include "catalogue/parameter_values.h"
#include "files/file_layout.h"
#include "files/table_file_reader.h"
#include "files/table_file_writer.h"
#include "fuzz_check.h"
#include "table_choice.h"
#include "text/utf8_text.h"

using namespace tabulon;
using namespace tabulon::files;

namespace {

// Windows-1251 bytes that happen to form UTF-8 all through ("Р»" is UTF-8's
// "л", "п»ї" its byte-order mark) read back as UTF-8: the price of opening
// editors' UTF-8 files. Real tables hold Cyrillic words, whose Windows-1251
// letters follow each other and never do; such a file is not expected back.
bool readsBackAsUtf8(const QByteArray& written) {
    return tabulon::text::isUtf8WithNonAscii(written);
}

// A goods file has 10000 lines. Fewer keep each run short without losing a
// code path: the line count only decides where reading stops, and every
// line written is read back.
constexpr int kMostLines = 64;

QByteArray writtenGrid(const GridModel& grid, const GridFileLayout& layout, WriteResult& result) {
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    result = writeGridTable(grid, layout, device);
    return bytes;
}

void gridTable(TableKind kind, Model model, QByteArray& file) {
    GridFileLayout layout = gridFileLayout(kind, model);
    layout.lines = qMin(layout.lines, kMostLines);
    GridModel grid(layout.values + 1, layout.lines + 1);

    QBuffer device(&file);
    device.open(QIODevice::ReadOnly);
    const ReadResult read = readGridTable(device, grid, layout);
    FUZZ_CHECK(read.outcome != ReadOutcome::DeviceError);
    FUZZ_CHECK(read.linesStored >= 0 && read.linesStored <= layout.lines);
    FUZZ_CHECK((read.outcome == ReadOutcome::Complete) == (read.linesStored == layout.lines));
    FUZZ_CHECK(read.lineStart.size() <= 1);
    // Rows past the failure keep what they held: nothing.
    for (int row = read.linesStored + 2; row <= layout.lines; ++row)
        for (int column = 1; column <= layout.values; ++column)
            FUZZ_CHECK(grid.cell(row, column).isEmpty());

    WriteResult written;
    const QByteArray bytes = writtenGrid(grid, layout, written);
    FUZZ_CHECK(written.outcome != WriteOutcome::DeviceError);
    if (written.outcome != WriteOutcome::Complete) {
        FUZZ_CHECK(written.line >= 1 && written.line <= layout.lines);
        return;
    }
    FUZZ_CHECK(bytes.count("\r\n") == layout.lines);
    if (readsBackAsUtf8(bytes)) return;

    GridModel again(layout.values + 1, layout.lines + 1);
    QByteArray copy = bytes;
    QBuffer readBack(&copy);
    readBack.open(QIODevice::ReadOnly);
    const ReadResult second = readGridTable(readBack, again, layout);
    // An empty first value of an empty row is a line of ";" only, never a bare
    // line feed, so a written file always reads whole.
    FUZZ_CHECK(second.outcome == ReadOutcome::Complete);
    for (int row = 1; row <= layout.lines; ++row)
        FUZZ_CHECK(again.rowCells(row, layout.values) == grid.rowCells(row, layout.values));
    WriteResult rewritten;
    FUZZ_CHECK(writtenGrid(again, layout, rewritten) == bytes);
}

void parameterLine(ParameterSet set, Model model, QByteArray& file) {
    const ParameterFileLayout layout = parameterFileLayout(set, model);
    ParameterMap fields;
    QBuffer device(&file);
    device.open(QIODevice::ReadOnly);
    const ReadResult read = readParameterLine(device, fields, layout);
    FUZZ_CHECK(read.outcome == ReadOutcome::Complete || read.outcome == ReadOutcome::EndOfFile);
    for (const QString& field : layout.fields) FUZZ_CHECK(!fields.fieldText(field).contains(u';'));

    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    const WriteResult written = writeParameterLine(fields, layout, out);
    if (written.outcome != WriteOutcome::Complete) {
        FUZZ_CHECK(written.outcome != WriteOutcome::DeviceError);
        return;
    }
    FUZZ_CHECK(bytes.endsWith("\r\n") && bytes.count('\n') == 1);
    FUZZ_CHECK(bytes.count(';') == layout.fields.size() + layout.emptyTail);
    if (readsBackAsUtf8(bytes)) return;

    ParameterMap again;
    QBuffer readBack(&bytes);
    readBack.open(QIODevice::ReadOnly);
    const ReadResult second = readParameterLine(readBack, again, layout);
    FUZZ_CHECK(second.outcome == ReadOutcome::Complete);
    for (const QString& field : layout.fields)
        FUZZ_CHECK(again.fieldText(field) == fields.fieldText(field));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const auto [choice, tab, model] = fuzz::chooseTable(choices);
    QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    if (isGridTab(tab)) {
        gridTable(tableKindOfTab(tab), model, file);
    } else {
        parameterLine(parameterSetOfTab(tab), model, file);
    }
    return 0;
}
