#include "transfer/row_count.h"

namespace tabulon::transfer {

QString groupedCount(qsizetype count) {
    QString digits = QString::number(count);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, u' ');
    return digits;
}

QString rowsWord(qsizetype count) {
    const qsizetype tens = count % 100;
    const qsizetype ones = count % 10;
    if (ones == 1 && tens != 11) return QStringLiteral("строка");
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) return QStringLiteral("строки");
    return QStringLiteral("строк");
}

QString countedRows(qsizetype count) {
    return groupedCount(count) + u' ' + rowsWord(count);
}

}  // namespace tabulon::transfer
