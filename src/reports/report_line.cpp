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
    if (directory.endsWith(u'/') || directory.endsWith(QDir::separator()))
        return directory + fileName;
    // A directory written the Windows way ends in a backslash wherever the
    // program runs. It is the separator; on a system with another one, a
    // backslash would only be part of a file name, and the report would go
    // beside the directory instead of into it.
    if (directory.endsWith(u'\\')) return directory.chopped(1) + QDir::separator() + fileName;
    return directory + u'/' + fileName;
}

}  // namespace tabulon::reports
