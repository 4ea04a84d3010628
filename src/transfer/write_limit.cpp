#include "transfer/write_limit.h"

#include <QByteArray>

namespace tabulon {

int writeCommandLength(int table, int record, qsizetype dataBytes) {
    return static_cast<int>(1 + QByteArray::number(table).size() + 1 +
                            QByteArray::number(record).size() + 1 + dataBytes);
}

}  // namespace tabulon
