#pragma once

#include <QString>

namespace tabulon::logo {

// The logo tab's messages: plain boxes with an OK button, titled as the
// program (messageCaption()).

inline QString doneText() {
    return QStringLiteral("Успешно!");
}
inline QString writeFailedText() {
    return QStringLiteral("Ошибка записи логотипа!");
}
inline QString readFailedText() {
    return QStringLiteral("Ошибка чтения логотипа! Чтение остановлено.");
}
// A read that failed at its first record leaves nothing to write or save.
inline QString noLogoText() {
    return QStringLiteral("Логотипа нет: загрузите его из файла или прочитайте из ЭККА.");
}
// Asked before a write of a picture taller than the register's logo: every
// row is sent, and the register refuses the rows past 200.
inline QString tallPictureQuestion(int rows) {
    return QStringLiteral(
               "Рисунок высотой %1 строк, а в ЭККА помещаются только строки 1-200: "
               "строку 201 ЭККА не примет, и запись остановится на ней с ошибкой.\n"
               "Продолжить запись?")
        .arg(rows);
}

}  // namespace tabulon::logo
