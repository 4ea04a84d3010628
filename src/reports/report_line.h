#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace tabulon::reports {

// The line a report file holds for one reply text: the reply without its
// first field (up to and including the first ";") and without its last
// character, every ";" replaced by the separator. No line end.
QByteArray reportLine(QByteArrayView reply, char separator);

inline constexpr char kLineEnd[] = "\r\n";

// The separator byte for the first character of the separator field;
// nullopt when the field is empty or its character has no Windows-1251 byte.
std::optional<char> separatorByte(const QString& field);

// The directory and the file name joined with one separator between them,
// whether or not the directory text ends in one. An empty directory leaves
// the name as it is, in the working directory.
QString reportPath(const QString& directory, const QString& fileName);

}  // namespace tabulon::reports
