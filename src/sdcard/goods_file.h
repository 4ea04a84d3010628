#pragma once

#include <QStringList>
#include <functional>

#include "files/table_file_writer.h"

class QIODevice;

namespace tabulon {
class GridModel;
}

namespace tabulon::sdcard {

// The register reads the card's goods file as 10000 article lines whatever
// the model, and takes the byte 0x96 in a name for a space.
constexpr int kCardArticles = 10000;
constexpr int kArticleValues = 10;
constexpr int kNameColumn = 2;

// The en dash of Windows-1251 (byte 0x96): how a space of a name is kept on
// the card.
constexpr QChar kCardSpace = QChar(0x2013);

// The values of goods row `row` as the card takes them: columns 1 to 10,
// the spaces of the name turned into dashes. The grid is left as it is.
QStringList goodsFileValues(const GridModel& goods, int row);

// Writes rows 1 to 10000 of the goods grid, one article line each, empty
// rows included. Calls `lineWritten` after each line; stops at the first
// line that cannot be written whole, and says which and why as a table file
// save does.
files::WriteResult writeGoodsFile(const GridModel& goods, QIODevice& file,
                                  const std::function<void()>& lineWritten = {});

}  // namespace tabulon::sdcard
