#pragma once

#include <QString>

namespace tabulon::files {

// The message boxes of the Open and Save commands. All of them come without
// an icon.

inline QString openFailedText() {
    return QStringLiteral("Ошибка открытия файла");
}
inline QString openFailedCaption() {
    return QStringLiteral("Файл отсутствует или неверный формат");
}

inline QString endOfFileText() {
    return QStringLiteral("Конец файла! \n В файле неверное число записей!");
}
inline QString endOfFileCaption() {
    return QStringLiteral("Незапланированный конец файла");
}

// Followed by the first character of the line that could not be read.
inline QString readFailedText(const QString& lineStart) {
    return QStringLiteral("Ошибка чтения данных в файл ") + lineStart;
}
inline QString readFailedCaption() {
    return QStringLiteral("Неверный формат файла");
}

// A line longer than the reader takes in one piece was loaded as two rows.
inline QString splitLineText(int line) {
    return QStringLiteral("Строка %1 файла слишком длинная и разделена на две.").arg(line);
}
inline QString splitLineCaption() {
    return QStringLiteral("Неверный формат файла");
}

// A table file whose letters were UTF-8, not Windows-1251, and were read so.
inline QString readAsUtf8Text(const QString& fileName) {
    return QStringLiteral("Файл %1 прочитан в кодировке UTF-8, а не Windows-1251.").arg(fileName);
}
inline QString readAsUtf8Caption() {
    return QStringLiteral("Кодировка файла");
}

inline QString createFailedText() {
    return QStringLiteral("Ошибка открытия файла");
}
inline QString writeFailedText() {
    return QStringLiteral("Ошибка записи данных в файл");
}
inline QString saveFailedCaption() {
    return QStringLiteral("Ошибка работы с файлом");
}

}  // namespace tabulon::files
