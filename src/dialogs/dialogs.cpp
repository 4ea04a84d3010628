#include "dialogs/dialogs.h"

namespace tabulon {

QString recordFailureLine(const RecordFailure& failure) {
    // The record number grouped as the progress text groups it.
    QString number = QString::number(failure.record);
    for (qsizetype at = number.size() - 3; at > (number.startsWith('-') ? 1 : 0); at -= 3)
        number.insert(at, QLatin1Char(' '));
    const QString line = QStringLiteral("%1, запись %2").arg(failure.table, number);
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
