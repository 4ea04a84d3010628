#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon::text {

// The registers, the table files and the SD-card files all speak Windows-1251;
// the program holds text as QString. These are the only crossings.

// Every byte value has a character, so decoding never fails (0x98, unassigned in
// the code page, maps to U+0098 and back).
QString fromCp1251(QByteArrayView bytes);

// nullopt when the text holds a character that Windows-1251 cannot represent;
// the encoder would otherwise put 0x1A in its place and corrupt the data silently.
std::optional<QByteArray> toCp1251(QStringView text);

// True when every character of the text has a Windows-1251 byte.
bool isCp1251(QStringView text);

// Position of the first character of the text that Windows-1251 cannot hold,
// or -1. A character beyond the 16-bit range starts at its high surrogate.
qsizetype firstNonCp1251(QStringView text);

// Position of the first control character (U+0000 to U+001F), or -1. The
// code page has bytes for them, but neither a record nor a file line can
// carry one: a NUL ends the record early, a CR or LF splits the line.
qsizetype firstControl(QStringView text);

// The whole character that starts at `at`: both halves of a surrogate pair.
QString characterAt(QStringView text, qsizetype at);

// The character at `at` for a message: «✓» (U+2713), or only its code where
// the glyph is invisible (control characters, half a pair). The glyph alone
// may also look like a letter the code page does have, so the code goes too.
QString describeCharacter(QStringView text, qsizetype at);

}  // namespace tabulon::text
