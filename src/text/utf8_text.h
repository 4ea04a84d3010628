#pragma once

#include <QByteArrayView>

namespace tabulon::text {

// True when the bytes are well-formed UTF-8 and hold at least one byte above
// 0x7F. Text in Windows-1251 almost never passes: its Cyrillic letters are
// lead bytes of UTF-8 without the continuation bytes that must follow them.
// Plain ASCII is no proof of either and gives false.
bool isUtf8WithNonAscii(QByteArrayView bytes);

}  // namespace tabulon::text
