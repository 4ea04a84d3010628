#include "reports/report_line.h"

#include <QDir>

#include "text/cp1251.h"

namespace tabulon::reports {

QByteArray reportLine(QByteArrayView reply, char separator) {
    const qsizetype firstEnd = reply.indexOf(';');
    QByteArray line = reply.sliced(firstEnd + 1).toByteArray();
    line.chop(1);
    if (separator != ';') line.replace(';', separator);
    return line;
}

std::optional<char> separatorByte(const QString& field) {
    if (field.isEmpty()) return std::nullopt;
    const std::optional<QByteArray> bytes = text::toCp1251(text::characterAt(field, 0));
    if (!bytes || bytes->size() != 1) return std::nullopt;
    return bytes->front();
}

QString reportPath(const QString& directory, const QString& fileName) {
    if (directory.isEmpty()) return fileName;
    // A directory from a settings file written on Windows ends in a backslash
    // wherever the program runs.
    if (directory.endsWith(u'/') || directory.endsWith(u'\\') ||
        directory.endsWith(QDir::separator()))
        return directory + fileName;
    return directory + u'/' + fileName;
}

}  // namespace tabulon::reports
