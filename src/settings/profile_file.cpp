#include "settings/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "disk/safe_save.h"
#include "text/cp1251.h"

namespace tabulon::settings {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");
const QByteArray kLineEnd("\r\n");

// One line of the text, as offsets: the text runs from start to textEnd, its
// line end ("\r\n", "\n" or nothing for a last line without one) from
// textEnd to next. The file is scanned in place, never split into copies.
struct LineSpan {
    qsizetype start = 0;
    qsizetype textEnd = 0;
    qsizetype next = 0;
};

// The line that starts at `start` (which is below text.size()).
LineSpan lineAt(const QByteArray& text, qsizetype start) {
    const qsizetype lf = text.indexOf('\n', start);
    if (lf < 0) return {start, text.size(), text.size()};
    const qsizetype textEnd = lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
    return {start, textEnd, lf + 1};
}

QByteArrayView lineText(const QByteArray& text, const LineSpan& line) {
    return QByteArrayView(text).sliced(line.start, line.textEnd - line.start);
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) > 127) return false;
    return true;
}

// Windows writes the file in its ANSI code page; this program writes UTF-8
// only for what that code page cannot hold (a folder named "Müller"). Valid
// UTF-8 beyond ASCII is hardly ever Windows-1251 text by chance.
QString decoded(QByteArrayView bytes) {
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

bool sameName(QByteArrayView bytes, const QString& name) {
    if (isAscii(bytes)) return name.compare(QLatin1StringView(bytes), Qt::CaseInsensitive) == 0;
    return decoded(bytes).compare(name, Qt::CaseInsensitive) == 0;
}

// The name of a "[name]" line, or nothing for other lines.
std::optional<QByteArrayView> sectionName(QByteArrayView line) {
    line = line.trimmed();
    if (!line.startsWith('[')) return std::nullopt;
    const qsizetype close = line.indexOf(']');
    return (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).trimmed();
}

// The key of a "key=value" line as the file spells it, or nothing.
std::optional<QByteArrayView> keyName(QByteArrayView line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) return std::nullopt;
    return line.first(eq).trimmed();
}

bool isKey(QByteArrayView line, const QString& key) {
    const auto name = keyName(line);
    return name && sameName(*name, key);
}

QString valueOf(QByteArrayView line) {
    QByteArrayView value = line.sliced(line.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return decoded(value);
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
        if (bytes.startsWith(kByteOrderMark))
            content_ = Content{kByteOrderMark, bytes.sliced(kByteOrderMark.size())};
        else
            content_ = Content{{}, bytes};
    }
    return *content_;
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int maxLength) const {
    const QByteArray& text = content().text;
    bool inSection = false;
    for (qsizetype at = 0; at < text.size();) {
        const LineSpan line = lineAt(text, at);
        at = line.next;
        const QByteArrayView bytes = lineText(text, line);
        // Section lines as write() tells them, or a value written would not
        // be found where it went.
        if (const auto name = sectionName(bytes)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (inSection && isKey(bytes, key)) return valueOf(bytes).left(maxLength);
    }
    return defaultValue.left(maxLength);
}

bool ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    const QByteArray& text = content().text;

    std::optional<LineSpan> sectionLine;
    std::optional<LineSpan> lastFilled;  // the section's last non-blank line
    std::optional<LineSpan> keyLine;
    std::optional<LineSpan> lastLine;
    for (qsizetype at = 0; at < text.size();) {
        const LineSpan line = lineAt(text, at);
        at = line.next;
        lastLine = line;
        const QByteArrayView bytes = lineText(text, line);
        if (const auto name = sectionName(bytes)) {
            if (sectionLine) break;
            if (sameName(*name, section)) sectionLine = lastFilled = line;
            continue;
        }
        if (!sectionLine) continue;
        if (!bytes.trimmed().isEmpty()) lastFilled = line;
        if (isKey(bytes, key)) {
            keyLine = line;
            break;
        }
    }

    QByteArray changed;
    const QByteArray entryValue = '=' + encoded(value);
    if (keyLine) {
        // The key keeps the file's own spelling; only the value is new.
        changed = text.first(keyLine->start) + keyName(lineText(text, *keyLine))->toByteArray() +
                  entryValue + (keyLine->next == keyLine->textEnd ? kLineEnd : QByteArray()) +
                  text.sliced(keyLine->textEnd);
    } else {
        QByteArray addition = encoded(key) + entryValue + kLineEnd;
        // The line that now precedes new text must end in a line break.
        const std::optional<LineSpan> before = sectionLine ? lastFilled : lastLine;
        const bool unended = before && before->next == before->textEnd;
        if (!sectionLine) addition = '[' + encoded(section) + ']' + kLineEnd + addition;
        const qsizetype at = before ? before->next : 0;
        changed = text.first(at) + (unended ? kLineEnd : QByteArray()) + addition + text.sliced(at);
    }

    disk::SafeSave file(path_);
    if (!file.open()) return false;
    const QByteArray& mark = content_->byteOrderMark;
    if (file.device().write(mark) != mark.size() ||
        file.device().write(changed) != changed.size() || !file.commit())
        return false;
    content_->text = std::move(changed);
    return true;
}

}  // namespace tabulon::settings
