#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon::import {

// The encodings a spreadsheet's text export comes in: Excel's "CSV" in the
// Windows code page, "CSV UTF-8" with a byte-order mark, "Unicode text" in
// UTF-16 with one, and what other programs write.
enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1251 };

// "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1251".
QString encodingName(Encoding encoding);
// The name as a command line gives it, in any letter case: utf-8, utf-16le,
// utf-16be, windows-1251 (or cp1251); nullopt for another word.
std::optional<Encoding> encodingFromName(QStringView name);

// A byte-order mark decides; without one, bytes with zeros among them are
// UTF-16 in the order the zeros show, bytes that are well-formed UTF-8
// beyond ASCII are UTF-8, and everything else Windows-1251.
Encoding detectEncoding(QByteArrayView bytes);

// The text of the bytes in that encoding, without a byte-order mark.
QString decodeText(QByteArrayView bytes, Encoding encoding);

}  // namespace tabulon::import
