#include "dialogs/dialogs.h"

#include "text/grouped_number.h"

namespace tabulon {

QString recordFailureLine(const RecordFailure& failure) {
    const QString line =
        QStringLiteral("%1, запись %2").arg(failure.table, text::groupedNumber(failure.record));
    return failure.cause.isEmpty() ? line : line + QStringLiteral(": ") + failure.cause;
}

QStringList qtNameFilters(const QString& filterList) {
    QStringList filters;
    const QStringList parts = filterList.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(variant)) patterns << variant;
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

}  // namespace tabulon
