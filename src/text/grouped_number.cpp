#include "text/grouped_number.h"

namespace tabulon::text {

QString groupedNumber(qint64 number) {
    const QString digits = QString::number(number < 0 ? -number : number);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += QLatin1Char(' ');
        grouped += digits[i];
    }
    return number < 0 ? QLatin1Char('-') + grouped : grouped;
}

}  // namespace tabulon::text
