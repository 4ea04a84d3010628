// The table-file line reader: every byte of the file comes back in some line,
// CR LF as one line feed, no line longer than a reader's buffer takes.
#include <QBuffer>

#include "files/line_reader.h"
#include "fuzz_check.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray input = fuzz::bytesOf(data, size);
    QBuffer device(&input);
    device.open(QIODevice::ReadOnly);
    files::LineReader reader(device);

    QByteArray joined;
    QByteArray line;
    qsizetype lines = 0;
    for (;;) {
        const files::LineReader::Status status = reader.next(line);
        FUZZ_CHECK(status != files::LineReader::Status::Error);
        if (status == files::LineReader::Status::End) break;
        FUZZ_CHECK(!line.isEmpty());
        FUZZ_CHECK(line.size() <= files::LineReader::kMaxLineBytes);
        // A line feed only ever ends a line.
        const qsizetype feed = line.indexOf('\n');
        FUZZ_CHECK(feed < 0 || feed == line.size() - 1);
        joined += line;
        // Every line takes at least one byte of the file: no endless reading.
        FUZZ_CHECK(++lines <= input.size());
    }
    FUZZ_CHECK(reader.next(line) == files::LineReader::Status::End);
    FUZZ_CHECK(joined == QByteArray(input).replace("\r\n", "\n"));
    return 0;
}
