#include "sdcard/card_files.h"

#include "catalogue/grid_model.h"
#include "files/line_reader.h"
#include "files/line_split.h"
#include "sdcard/goods_file.h"
#include "text/cp1251.h"

namespace tabulon::sdcard {

namespace {

constexpr QChar kSeparator = u';';

}  // namespace

const CardFileLayout& cardFileLayout(CardFile file) {
    static const CardFileLayout upload{QStringLiteral("upload.art"), 1, kArticleValues, 0};
    static const CardFileLayout sales{QStringLiteral("sales.art"), kArticleValues + 1, 6, 1};
    return file == CardFile::Upload ? upload : sales;
}

QStringList cardLineFields(QStringView line, CardFile file) {
    const CardFileLayout& layout = cardFileLayout(file);
    QStringList fields;
    fields.reserve(layout.fields);
    const qsizetype leadingEnd = line.indexOf(kSeparator, layout.leadingSearchFrom);
    line = leadingEnd < 0 ? QStringView() : line.sliced(leadingEnd + 1);
    for (int i = 0; i < layout.fields; ++i) {
        const qsizetype end = line.indexOf(kSeparator);
        fields << files::withoutLineEnd(end < 0 ? line : line.first(end)).toString();
        line = end < 0 ? QStringView() : line.sliced(end + 1);
    }
    if (file == CardFile::Upload) fields[kNameColumn - 1].replace(kCardSpace, QLatin1Char(' '));
    return fields;
}

CardReadResult readCardFile(QIODevice& device, CardFile file, GridModel& sales,
                            const std::function<void()>& lineRead) {
    const CardFileLayout& layout = cardFileLayout(file);
    GridModel::BulkUpdate bulk(sales);
    files::LineReader reader(device);
    QByteArray bytes;
    int row = 1;
    while (row <= kCardArticles) {
        switch (reader.next(bytes)) {
            case files::LineReader::Status::End:
                return {CardReadOutcome::EndOfFile, row - 1};
            case files::LineReader::Status::Error:
                return {CardReadOutcome::DeviceError, row - 1};
            case files::LineReader::Status::Line:
                break;
        }
        // A blank line is not a record and takes no row.
        if (bytes == "\n") continue;
        const QStringList fields = cardLineFields(text::fromCp1251(bytes), file);
        for (int i = 0; i < layout.fields; ++i)
            sales.setCell(row, layout.firstColumn + i, fields[i]);
        if (lineRead) lineRead();
        ++row;
    }
    return {CardReadOutcome::Complete, kCardArticles};
}

}  // namespace tabulon::sdcard
