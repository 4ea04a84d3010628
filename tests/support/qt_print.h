#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure output: records as their bytes in hex beside the text.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << QString::fromLatin1(bytes).toStdString() << "\" ["
        << bytes.toHex(' ').toStdString() << ']';
}
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (const QString& text : list) *os << '"' << text.toStdString() << "\" ";
    *os << '}';
}
