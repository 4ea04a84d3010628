#include "text/utf8_text.h"

#include <QStringDecoder>
#include <algorithm>

namespace tabulon::text {

bool isUtf8WithNonAscii(QByteArrayView bytes) {
    const bool nonAscii =
        std::any_of(bytes.begin(), bytes.end(), [](char byte) { return (byte & 0x80) != 0; });
    if (!nonAscii) return false;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

}  // namespace tabulon::text
