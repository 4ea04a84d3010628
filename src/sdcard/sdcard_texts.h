#pragma once

#include <QString>

namespace tabulon::sdcard {

// Texts of the SD-card commands beyond those they share with the table files
// (files/file_messages.h: saving fails alike, a short file ends alike).

// Both save dialogs offer the article files first, then all files.
inline QString articleFilterList() {
    return QStringLiteral("Файлы артикулов(*.art)|*.ART|Все файлы (*.*)|*.*");
}
inline QString articleExtension() {
    return QStringLiteral("art");
}
inline QString goodsFileTitle() {
    return QStringLiteral("Сохранить файл артикулов на SD-диск");
}
inline QString goodsFileProposedName() {
    return QStringLiteral("goodbase.art");
}
inline QString salesFileTitle() {
    return QStringLiteral("Сохранить файл артикулов");
}
inline QString folderPickerTitle() {
    return QStringLiteral("Выбрать местонахождение файлов");
}

// Loading the card's files; every box has the caption of a missing file.
inline QString cardOpenFailedText(const QString& fileName) {
    return QStringLiteral("Ошибка открытия файла ") + fileName;
}
// The card or its reader gave out in the middle of a file.
inline QString cardReadFailedText(const QString& fileName) {
    return QStringLiteral("Ошибка чтения файла ") + fileName;
}
inline QString noDirectoryText() {
    return QStringLiteral("Не указана папка с файлами upload.art и sales.art");
}

}  // namespace tabulon::sdcard
