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

}  // namespace tabulon
