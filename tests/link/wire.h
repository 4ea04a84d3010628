#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Bytes written as a line trace reads: hex bytes separated by blanks, "FF*11"
// for a run of eleven, "|" between sequences for the eye only.
inline QByteArray wire(const char* notation) {
    QByteArray bytes;
    const QStringList words = QString::fromLatin1(notation).split(u' ', Qt::SkipEmptyParts);
    for (const QString& word : words) {
        if (word == u"|") continue;
        const QStringList parts = word.split(u'*');
        const char byte = char(parts[0].toInt(nullptr, 16));
        bytes.append(QByteArray(parts.size() == 2 ? parts[1].toInt() : 1, byte));
    }
    return bytes;
}

// The same bytes as a trace, for readable failure messages.
inline QString trace(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype run = 1;
        while (i + run < bytes.size() && bytes[i + run] == bytes[i]) ++run;
        if (!text.isEmpty()) text += u' ';
        text += QString::asprintf("%02X", unsigned(quint8(bytes[i])));
        if (run > 2) {
            text += QStringLiteral("*%1").arg(run);
        } else if (run == 2) {
            text += QString::asprintf(" %02X", unsigned(quint8(bytes[i])));
        }
        i += run;
    }
    return text;
}

#define EXPECT_WIRE(actual, expected) EXPECT_EQ(trace(actual), trace(expected))
