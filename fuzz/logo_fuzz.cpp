// A BMP file loaded as the logo and made into dot-line records, and a reply
// drawn into a picture. Whatever the file, a picture that loads gives one
// record per row of 24 values 0 to 255; the values read back out of the
// record, drawn into a register's logo, give the same dots; saved and loaded
// again, the picture gives the same records.
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "fuzz_check.h"
#include "logo/dot_row.h"
#include "logo/logo_file.h"

using namespace tabulon;
using namespace tabulon::logo;

namespace {

QString scratchPath(const char* name) {
    static QTemporaryDir directory;
    return directory.filePath(QString::fromLatin1(name));
}

// A picture of any height gives that many records; this many are looked at
// closely.
constexpr int kRowsChecked = 8;
// A few bytes of RLE declare a picture tens of thousands of rows high, and
// the records of every row would take most of the run. Every row is made by
// the same code on other pixels; these many keep the runs quick.
constexpr int kRowsEncoded = 32;
constexpr qsizetype kLargestSaved = 256 << 10;

void checkRecord(const QImage& picture, int y, const QByteArray& record) {
    FUZZ_CHECK(record.count(';') == kBytesPerRow && record.endsWith(';'));
    const QList<std::uint8_t> values = replyValues(QByteArrayLiteral("136;1;") + record);
    FUZZ_CHECK(values.size() == kBytesPerRow);
    const DotBytes dots = rowBytes(picture, y);
    for (int i = 0; i < kBytesPerRow; ++i) FUZZ_CHECK(values[i] == dots[i]);
    // The text holds nothing but the plain decimal values.
    FUZZ_CHECK(record == recordText(dots));

    QImage drawn;
    drawRow(drawn, y % kLogoRows, values);
    FUZZ_CHECK(drawn.width() == kDotsPerRow && drawn.height() == kLogoRows);
    FUZZ_CHECK(rowBytes(drawn, y % kLogoRows) == dots);
}

void loadedPicture(const QByteArray& file) {
    const QString path = scratchPath("logo.bmp");
    {
        QFile out(path);
        FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(out.write(file) == file.size());
    }
    const LoadedLogo loaded = loadLogoFile(path);
    FUZZ_CHECK(loaded.picture.isNull() != loaded.error.isEmpty());
    if (loaded.picture.isNull()) return;

    const auto firstRows = [](const QImage& picture) {
        if (picture.height() <= kRowsEncoded) return picture;
        // Only the first dots of a row are sent; a copy no wider than the
        // picture adds no pixels of its own.
        return picture.copy(0, 0, qMin(picture.width(), kDotsPerRow), kRowsEncoded);
    };
    const QList<QByteArray> records = logoRecords(firstRows(loaded.picture));
    FUZZ_CHECK(records.size() == qMin(loaded.picture.height(), kRowsEncoded));
    for (int y = 0; y < qMin(kRowsChecked, int(records.size())); ++y)
        checkRecord(loaded.picture, y, records[y]);

    // A small file may declare a picture of hundreds of megabytes (RLE); saving
    // such a one each run would leave no time for anything else.
    if (loaded.picture.sizeInBytes() > kLargestSaved) return;
    const QString saved = scratchPath("saved.BMP");
    if (!saveLogoFile(loaded.picture, saved).isEmpty()) return;
    const LoadedLogo again = loadLogoFile(saved);
    FUZZ_CHECK(!again.picture.isNull());
    FUZZ_CHECK(again.picture.size() == loaded.picture.size());
    FUZZ_CHECK(logoRecords(firstRows(again.picture)) == records);
}

void drawnReply(const QByteArray& reply, std::uint8_t row) {
    const QList<std::uint8_t> values = replyValues(reply);
    FUZZ_CHECK(values.size() <= kBytesPerRow);
    FUZZ_CHECK(values.size() <= qMax<qsizetype>(0, reply.count(';') - 2));
    QImage picture;
    drawRow(picture, row, values);
    if (values.isEmpty()) {
        FUZZ_CHECK(picture.isNull());
        return;
    }
    const DotBytes dots = rowBytes(picture, row);
    for (qsizetype i = 0; i < values.size(); ++i) FUZZ_CHECK(dots[i] == values[i]);
    for (qsizetype i = values.size(); i < kBytesPerRow; ++i) FUZZ_CHECK(dots[i] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Qt refuses a picture over its allocation limit (128 MB unless told
    // otherwise). A few header bytes reach that limit, and clearing 128 MB on
    // every such input would leave a few runs a second; the refusal is the
    // same code at a lower limit.
    QImageReader::setAllocationLimit(16);
    fuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const std::uint8_t choice = choices.next();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (choice < 224) {
        loadedPicture(bytes);
    } else {
        drawnReply(bytes, choice - 224);
    }
    return 0;
}
