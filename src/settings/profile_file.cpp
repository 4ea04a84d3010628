#include "settings/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "text/cp1251.h"

namespace tabulon::settings {

namespace {

using Line = ProfileFile::Line;

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

QList<Line> splitLines(const QByteArray& bytes, qsizetype start) {
    QList<Line> lines;
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

bool isAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) > 127) return false;
    return true;
}

// Windows writes the file in its ANSI code page; this program writes UTF-8
// only for what that code page cannot hold (a folder named "Müller"). Valid
// UTF-8 beyond ASCII is hardly ever Windows-1251 text by chance.
QString decoded(const QByteArray& bytes) {
    if (isAscii(bytes)) return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return text::fromCp1251(bytes);
}

QByteArray encoded(const QString& text) {
    // A value the code page cannot hold (a path in another script) is kept
    // as UTF-8 rather than turned into question marks.
    if (auto bytes = text::toCp1251(text)) return *bytes;
    return text.toUtf8();
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The section name of a "[name]" line, or a null string for other lines.
// Most lines of a file are not section lines: they are told apart without
// copying them.
QString sectionName(const QByteArray& line) {
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first])) ++first;
    if (first == line.size() || line[first] != '[') return {};
    const QByteArray trimmed = line.mid(first).trimmed();
    qsizetype close = trimmed.indexOf(']');
    QByteArray name = close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1);
    return decoded(name.trimmed());
}

// The key of a "key=value" line as the file spells it, or a null array.
QByteArray keyBytes(const QByteArray& line) {
    qsizetype eq = line.indexOf('=');
    if (eq < 0) return {};
    return line.left(eq).trimmed();
}

bool isKey(const QByteArray& line, const QString& key) {
    const QByteArray name = keyBytes(line);
    // Letter case aside, names of another length differ: no need to decode.
    if (name.isNull() || name.size() < key.size()) return false;
    return decoded(name).compare(key, Qt::CaseInsensitive) == 0;
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

ProfileFile::Content& ProfileFile::content() const {
    if (!content_) {
        QByteArray bytes;
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
        const bool marked = bytes.startsWith(kByteOrderMark);
        content_ = Content{marked ? kByteOrderMark : QByteArray(),
                           splitLines(bytes, marked ? kByteOrderMark.size() : 0)};
    }
    return *content_;
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int maxLength) const {
    bool inSection = false;
    for (const Line& line : content().lines) {
        const QString name = sectionName(line.text);
        if (!name.isNull()) {
            inSection = sameName(name, section);
            continue;
        }
        if (inSection && isKey(line.text, key)) return valueOf(line.text).left(maxLength);
    }
    return defaultValue.left(maxLength);
}

bool ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    static const QByteArray kLineEnd("\r\n");
    Content changed = content();
    QList<Line>& lines = changed.lines;

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
        if (isKey(lines[i].text, key)) {
            keyAt = i;
            break;
        }
    }

    if (keyAt >= 0) {
        lines[keyAt].text = keyBytes(lines[keyAt].text) + '=' + encoded(value);
        if (lines[keyAt].end.isEmpty()) lines[keyAt].end = kLineEnd;
    } else {
        const Line entry{encoded(key) + '=' + encoded(value), kLineEnd};
        if (sectionAt < 0) {
            insertAt = lines.size() - 1;
            lines.append({'[' + encoded(section) + ']', kLineEnd});
        }
        // The line that now precedes new text must end in a line break.
        if (insertAt >= 0 && lines[insertAt].end.isEmpty()) lines[insertAt].end = kLineEnd;
        if (sectionAt < 0) ++insertAt;
        lines.insert(insertAt + 1, entry);
    }

    QByteArray bytes = changed.byteOrderMark;
    for (const Line& line : lines) bytes += line.text + line.end;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size() || !file.commit()) return false;
    content_ = std::move(changed);
    return true;
}

}  // namespace tabulon::settings
