#include "settings/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include "text/cp1251.h"

namespace tabulon::settings {

namespace {

// One line of the file with its own line end, so that untouched lines are
// written back byte for byte.
struct Line {
    QByteArray text;  // without the line end
    QByteArray end;   // "\r\n", "\n" or empty for a last line without one
};

QList<Line> splitLines(const QByteArray& bytes) {
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            lines.append({bytes.mid(start), {}});
            break;
        }
        qsizetype textEnd = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
        lines.append({bytes.mid(start, textEnd - start), bytes.mid(textEnd, lf + 1 - textEnd)});
        start = lf + 1;
    }
    return lines;
}

QString decoded(const QByteArray& bytes) {
    return text::fromCp1251(bytes);
}

QByteArray encoded(const QString& text) {
    // A value the code page cannot hold (a path in another script) is kept
    // as UTF-8 rather than turned into question marks.
    if (auto bytes = text::toCp1251(text)) return *bytes;
    return text.toUtf8();
}

// The section name of a "[name]" line, or a null string for other lines.
QString sectionName(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    if (!trimmed.startsWith('[')) return {};
    qsizetype close = trimmed.indexOf(']');
    QByteArray name = close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1);
    return decoded(name.trimmed());
}

// The key name of a "key=value" line, or a null string.
QString keyName(const QByteArray& line) {
    qsizetype eq = line.indexOf('=');
    if (eq < 0) return {};
    return decoded(line.left(eq).trimmed());
}

QString valueOf(const QByteArray& line) {
    QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return decoded(value);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

bool ProfileFile::exists() const {
    return QFileInfo(path_).isFile();
}

QByteArray ProfileFile::load() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int maxLength) const {
    bool inSection = false;
    for (const Line& line : splitLines(load())) {
        const QString name = sectionName(line.text);
        if (!name.isNull()) {
            inSection = sameName(name, section);
            continue;
        }
        if (inSection && sameName(keyName(line.text), key))
            return valueOf(line.text).left(maxLength);
    }
    return defaultValue.left(maxLength);
}

bool ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    static const QByteArray kLineEnd("\r\n");
    QList<Line> lines = splitLines(load());
    const Line entry{encoded(key) + '=' + encoded(value), kLineEnd};

    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;  // after the last non-blank line of the section
    qsizetype keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(lines[i].text);
        if (!name.isNull()) {
            if (sectionAt >= 0) break;
            if (sameName(name, section)) sectionAt = insertAt = i;
            continue;
        }
        if (sectionAt < 0) continue;
        if (!lines[i].text.trimmed().isEmpty()) insertAt = i;
        if (sameName(keyName(lines[i].text), key)) {
            keyAt = i;
            break;
        }
    }

    if (keyAt >= 0) {
        lines[keyAt] = entry;
    } else {
        if (sectionAt < 0) {
            insertAt = lines.size() - 1;
            lines.append({'[' + encoded(section) + ']', kLineEnd});
        }
        // The line that now precedes new text must end in a line break.
        if (insertAt >= 0 && lines[insertAt].end.isEmpty()) lines[insertAt].end = kLineEnd;
        if (sectionAt < 0) ++insertAt;
        lines.insert(insertAt + 1, entry);
    }

    QByteArray bytes;
    for (const Line& line : lines) bytes += line.text + line.end;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace tabulon::settings
