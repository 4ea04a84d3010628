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

// The first character of the text that Windows-1251 cannot hold, if any.
std::optional<QChar> firstNonCp1251(QStringView text);

}  // namespace tabulon::text
