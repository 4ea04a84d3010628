#include "transfer/record_text.h"

#include "text/cp1251.h"

namespace tabulon {

QStringList replyFields(const QByteArray& reply) {
    // One byte is one character in Windows-1251, so splitting the decoded
    // text at ";" splits the bytes at the same places.
    QStringList fields = text::fromCp1251(reply).split(u';');
    fields.removeLast();  // after the last ";": not a field
    if (fields.size() < 2) return {};
    fields.remove(0, 2);
    return fields;
}

qsizetype firstUnencodable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Nothing beyond the 16-bit range is in the code page; and the encoder,
        // given half a pair at the end of its input, waits for the other half
        // instead of reporting it.
        if (text[i].isSurrogate() || !text::isCp1251(text.mid(i, 1))) return i;
    }
    return -1;
}

}  // namespace tabulon
