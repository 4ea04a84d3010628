#include "text/cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tabulon::text {

namespace {
constexpr const char* kCodec = "windows-1251";
}

QString fromCp1251(QByteArrayView bytes) {
    QStringDecoder decoder(kCodec);
    return decoder.decode(bytes);
}

std::optional<QByteArray> toCp1251(QStringView text) {
    // No surrogate has a byte in the code page; and the encoder keeps half a
    // pair at the end of a text waiting for the other half, without an error.
    for (QChar c : text)
        if (c.isSurrogate()) return std::nullopt;
    QStringEncoder encoder(kCodec);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return std::nullopt;
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
    const char32_t code = character.size() == 2
                              ? QChar::surrogateToUcs4(character[0], character[1])
                              : char32_t(character[0].unicode());
    const QString hex = QString::number(uint(code), 16).toUpper().rightJustified(4, u'0');
    if (code < 0x20 || (character.size() == 1 && character[0].isSurrogate()))
        return QStringLiteral("U+%1").arg(hex);
    return QStringLiteral("«%1» (U+%2)").arg(character, hex);
}

}  // namespace tabulon::text
