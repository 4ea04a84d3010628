#include "files/line_split.h"

namespace tabulon::files {

namespace {

constexpr QChar kSeparator = u';';

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// A value before its ";": a line break among the last two characters ends it.
QStringView trimEnclosedValue(QStringView value) {
    const qsizetype n = value.size();
    if (n >= 2 && isLineBreak(value[n - 2])) return value.first(n - 2);
    if (n >= 1 && isLineBreak(value[n - 1])) return value.first(n - 1);
    return value;
}

}  // namespace

QStringView withoutLineEnd(QStringView value) {
    for (int i = 0; i < 2 && !value.isEmpty() && isLineBreak(value.back()); ++i) value.chop(1);
    return value;
}

GridLineValues splitGridLine(QStringView line, int count) {
    GridLineValues result{{}, true};
    result.values.reserve(count);
    for (int column = 1; column <= count; ++column) {
        const qsizetype end = line.indexOf(kSeparator);
        if (end >= 0) {
            result.values << trimEnclosedValue(line.first(end)).toString();
            line = line.sliced(end + 1);
            continue;
        }
        if (column < count) {
            result.complete = false;
            return result;
        }
        result.values << withoutLineEnd(line).toString();
        line = {};
    }
    return result;
}

QStringList splitParameterLine(QStringView line, int count) {
    QStringList values;
    for (int i = 0; i < count; ++i) {
        const qsizetype end = line.indexOf(kSeparator);
        if (end < 0) break;
        values << line.first(end).toString();
        line = line.sliced(end + 1);
    }
    return values;
}

QString joinLine(const QStringList& values, int emptyTail) {
    qsizetype length = emptyTail;
    for (const QString& value : values) length += value.size() + 1;
    QString line;
    line.reserve(length);
    for (const QString& value : values) {
        line += value;
        line += kSeparator;
    }
    for (int i = 0; i < emptyTail; ++i) line += kSeparator;
    return line;
}

}  // namespace tabulon::files
