#include "import/text_encoding.h"

#include <QStringDecoder>
#include <array>

#include "text/cp1251.h"
#include "text/utf8_text.h"

namespace tabulon::import {

namespace {

struct EncodingName {
    Encoding encoding;
    QStringView name;
};

constexpr std::array<EncodingName, 4> kNames{{{Encoding::Utf8, u"UTF-8"},
                                              {Encoding::Utf16LE, u"UTF-16LE"},
                                              {Encoding::Utf16BE, u"UTF-16BE"},
                                              {Encoding::Windows1251, u"Windows-1251"}}};

constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");
constexpr QByteArrayView kUtf16LEMark("\xFF\xFE");
constexpr QByteArrayView kUtf16BEMark("\xFE\xFF");

QString decoded(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

}  // namespace

QString encodingName(Encoding encoding) {
    for (const EncodingName& entry : kNames) {
        if (entry.encoding == encoding) return entry.name.toString();
    }
    return {};
}

std::optional<Encoding> encodingFromName(QStringView name) {
    if (name.compare(u"cp1251", Qt::CaseInsensitive) == 0) return Encoding::Windows1251;
    for (const EncodingName& entry : kNames) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0) return entry.encoding;
    }
    return std::nullopt;
}

Encoding detectEncoding(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Mark)) return Encoding::Utf8;
    if (bytes.startsWith(kUtf16LEMark)) return Encoding::Utf16LE;
    if (bytes.startsWith(kUtf16BEMark)) return Encoding::Utf16BE;
    // Text in the other encodings has no zero byte; UTF-16 without its mark
    // has one beside every digit, delimiter and line end, after it in
    // little-endian order and before it in big-endian.
    qsizetype zerosFirst = 0;
    qsizetype zerosSecond = 0;
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\0') ++(at % 2 == 0 ? zerosFirst : zerosSecond);
    }
    if (zerosFirst + zerosSecond > 0)
        return zerosSecond >= zerosFirst ? Encoding::Utf16LE : Encoding::Utf16BE;
    return text::isUtf8WithNonAscii(bytes) ? Encoding::Utf8 : Encoding::Windows1251;
}

QString decodeText(QByteArrayView bytes, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8:
            if (bytes.startsWith(kUtf8Mark)) bytes = bytes.sliced(kUtf8Mark.size());
            return decoded(bytes, QStringConverter::Utf8);
        case Encoding::Utf16LE:
            if (bytes.startsWith(kUtf16LEMark)) bytes = bytes.sliced(kUtf16LEMark.size());
            return decoded(bytes, QStringConverter::Utf16LE);
        case Encoding::Utf16BE:
            if (bytes.startsWith(kUtf16BEMark)) bytes = bytes.sliced(kUtf16BEMark.size());
            return decoded(bytes, QStringConverter::Utf16BE);
        case Encoding::Windows1251:
            return text::fromCp1251(bytes);
    }
    return {};
}

}  // namespace tabulon::import
