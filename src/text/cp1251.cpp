#include "text/cp1251.h"

#include <QStringDecoder>
#include <array>
#include <cstdint>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace tabulon::text {

namespace {

#ifdef Q_OS_WIN
// Qt without ICU knows no code pages on Windows; the system has them all.
constexpr UINT kCodePage = 1251;

QString systemDecoded(const QByteArray& bytes) {
    std::array<wchar_t, 256> characters{};
    const int count = ::MultiByteToWideChar(kCodePage, 0, bytes.constData(), int(bytes.size()),
                                            characters.data(), int(characters.size()));
    return QString::fromWCharArray(characters.data(), count);
}
#else
QString systemDecoded(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}
#endif

// The code page is one byte a character both ways, so the system's converter
// is asked once for the character of every byte, and the crossings are table
// look-ups after that: making a converter costs more than a whole record.
struct CodePage {
    std::array<char16_t, 256> characters{};
    std::array<std::int16_t, 65536> bytes{};  // -1: no byte for the character

    CodePage() {
        bytes.fill(-1);
        QByteArray all(256, '\0');
        for (int byte = 0; byte < 256; ++byte) all[byte] = char(byte);
        const QString decoded = systemDecoded(all);
        for (int byte = 0; byte < 256 && byte < decoded.size(); ++byte) {
            const char16_t character = decoded[byte].unicode();
            characters[byte] = character;
            // Every byte decodes to a character of its own, so the way back
            // is the same pairs; a surrogate never has a byte.
            if (!QChar::isSurrogate(character)) bytes[character] = std::int16_t(byte);
        }
    }
};

const CodePage& codePage() {
    static const CodePage table;
    return table;
}

}  // namespace

QString fromCp1251(QByteArrayView bytes) {
    const CodePage& table = codePage();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(table.characters[std::uint8_t(bytes[i])]);
    return text;
}

std::optional<QByteArray> toCp1251(QStringView text) {
    const CodePage& table = codePage();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::int16_t byte = table.bytes[text[i].unicode()];
        if (byte < 0) return std::nullopt;
        out[i] = char(byte);
    }
    return bytes;
}

bool isCp1251(QStringView text) {
    return toCp1251(text).has_value();
}

qsizetype firstNonCp1251(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSurrogate() || !isCp1251(text.mid(i, 1))) return i;
    }
    return -1;
}

qsizetype firstControl(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x20) return i;
    }
    return -1;
}

QString characterAt(QStringView text, qsizetype at) {
    if (at < 0 || at >= text.size()) return {};
    const bool pair =
        text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
    return text.mid(at, pair ? 2 : 1).toString();
}

QString describeCharacter(QStringView text, qsizetype at) {
    const QString character = characterAt(text, at);
    if (character.isEmpty()) return {};
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                : char32_t(character[0].unicode());
    const QString hex = QString::number(uint(code), 16).toUpper().rightJustified(4, u'0');
    if (code < 0x20 || (character.size() == 1 && character[0].isSurrogate()))
        return QStringLiteral("U+%1").arg(hex);
    return QStringLiteral("«%1» (U+%2)").arg(character, hex);
}

}  // namespace tabulon::text
