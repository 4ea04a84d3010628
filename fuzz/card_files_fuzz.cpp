// The SD-card readers: "upload.art" and "sales.art" into the sales grid. The
// first byte picks the file. Every non-blank line fills one row with exactly
// the file's fields; a goods row read from "upload.art" and written back as
// the card's goods line reads back the same.
#include <QBuffer>

#include "catalogue/grid_model.h"
#include "files/line_reader.h"
#include "files/table_file_writer.h"
#include "fuzz_check.h"
#include "sdcard/card_files.h"
#include "sdcard/goods_file.h"
#include "sdcard/sales_table.h"
#include "text/cp1251.h"

using namespace tabulon;
using namespace tabulon::sdcard;

namespace {

// The grid is made once: a run overwrites the rows its file reaches, and the
// checks look at those rows only.
GridModel& salesGrid() {
    static GridModel grid(kSalesColumns, kSalesRows);
    return grid;
}

void checkRoundTrip(const QStringList& goods) {
    static GridModel row(kArticleValues + 1, 2);
    row.setRowCells(1, goods);
    const std::optional<QByteArray> line = files::encodeLine(goodsFileValues(row, 1));
    if (!line) return;  // a control character or one outside the code page
    const QStringList back =
        cardLineFields(text::fromCp1251(QByteArrayLiteral("1;") + *line), CardFile::Upload);
    // A dash of a name is the card's space: it cannot come back as a dash.
    if (goods[kNameColumn - 1].contains(kCardSpace)) return;
    FUZZ_CHECK(back == goods);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const CardFile file = choices.next() % 2 ? CardFile::Sales : CardFile::Upload;
    const CardFileLayout& layout = cardFileLayout(file);
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    GridModel& sales = salesGrid();
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    int rowsTold = 0;
    const CardReadResult result = readCardFile(device, file, sales, [&] { ++rowsTold; });
    FUZZ_CHECK(result.outcome != CardReadOutcome::DeviceError);
    FUZZ_CHECK(result.rowsFilled == rowsTold);
    FUZZ_CHECK(result.rowsFilled >= 0 && result.rowsFilled <= kCardArticles);

    // The same lines, taken apart on their own, are the rows.
    QBuffer again(&bytes);
    again.open(QIODevice::ReadOnly);
    files::LineReader lines(again);
    QByteArray line;
    int row = 0;
    while (row < result.rowsFilled && lines.next(line) == files::LineReader::Status::Line) {
        if (line == "\n") continue;
        ++row;
        const QStringList fields = cardLineFields(text::fromCp1251(line), file);
        FUZZ_CHECK(fields.size() == layout.fields);
        for (int i = 0; i < layout.fields; ++i) {
            FUZZ_CHECK(sales.cell(row, layout.firstColumn + i) == fields[i]);
            FUZZ_CHECK(!fields[i].contains(u';'));
            FUZZ_CHECK(!fields[i].endsWith(u'\n'));
        }
        if (file == CardFile::Upload) checkRoundTrip(fields);
    }
    FUZZ_CHECK(row == result.rowsFilled);
    if (result.outcome == CardReadOutcome::EndOfFile) {
        // Only blank lines may follow the last row.
        files::LineReader::Status status;
        while ((status = lines.next(line)) == files::LineReader::Status::Line)
            FUZZ_CHECK(line == "\n");
        FUZZ_CHECK(status == files::LineReader::Status::End);
    }
    return 0;
}
