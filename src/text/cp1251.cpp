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

std::optional<QChar> firstNonCp1251(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character outside the code page either way.
        qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!isCp1251(text.mid(i, len))) return text[i];
        i += len - 1;
    }
    return std::nullopt;
}

}  // namespace tabulon::text
