#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

#include "text/cp1251.h"

namespace tabulon::testing {

// Windows-1251 bytes of a text written in the test as UTF-8. A text the code
// page cannot carry is a broken test, not a finding.
inline QByteArray cp1251(const QString& text) {
    const auto bytes = text::toCp1251(text);
    if (!bytes) throw std::invalid_argument("not Windows-1251");
    return *bytes;
}

// Lines of a table file as the program writes them: Windows-1251, each ended
// by CR LF.
inline QByteArray cp1251Lines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += cp1251(line) + "\r\n";
    return bytes;
}

}  // namespace tabulon::testing
