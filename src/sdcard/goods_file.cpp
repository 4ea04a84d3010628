#include "sdcard/goods_file.h"

#include <QIODevice>

#include "catalogue/grid_model.h"

namespace tabulon::sdcard {

QStringList goodsFileValues(const GridModel& goods, int row) {
    QStringList values = goods.rowCells(row, kArticleValues);
    values[kNameColumn - 1].replace(QLatin1Char(' '), kCardSpace);
    return values;
}

files::WriteResult writeGoodsFile(const GridModel& goods, QIODevice& file,
                                  const std::function<void()>& lineWritten) {
    for (int row = 1; row <= kCardArticles; ++row) {
        const files::WriteResult written =
            files::writeFileLine(goodsFileValues(goods, row), 0, row, file);
        if (written.outcome != files::WriteOutcome::Complete) return written;
        if (lineWritten) lineWritten();
    }
    return {};
}

}  // namespace tabulon::sdcard
