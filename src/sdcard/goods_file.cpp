#include "sdcard/goods_file.h"

#include <QIODevice>

#include "catalogue/grid_model.h"
#include "files/line_reader.h"
#include "files/table_file_writer.h"

namespace tabulon::sdcard {

QStringList goodsFileValues(const GridModel& goods, int row) {
    QStringList values = goods.rowCells(row, kArticleValues);
    values[kNameColumn - 1].replace(QLatin1Char(' '), kCardSpace);
    return values;
}

GoodsFileOutcome writeGoodsFile(const GridModel& goods, QIODevice& file,
                                const std::function<void()>& lineWritten) {
    for (int row = 1; row <= kCardArticles; ++row) {
        const std::optional<QByteArray> line = files::encodeLine(goodsFileValues(goods, row));
        if (!line) return GoodsFileOutcome::NotEncodable;
        // CR LF reads back as one line feed.
        if (line->size() - 1 > files::LineReader::kMaxLineBytes)
            return GoodsFileOutcome::LineTooLong;
        if (file.write(*line) != line->size()) return GoodsFileOutcome::DeviceError;
        if (lineWritten) lineWritten();
    }
    return GoodsFileOutcome::Complete;
}

}  // namespace tabulon::sdcard
