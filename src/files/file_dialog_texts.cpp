#include "files/file_dialog_texts.h"

#include <array>

#include "catalogue/table_kind.h"

namespace tabulon::files {

namespace {

const std::array<FileDialogTexts, 8>& allTexts() {
    static const std::array<FileDialogTexts, 8> texts{{
        {"Файлы артикулов(*.art)|*.ART|Все файлы (*.*)|*.*", "Открыть файл артикулов",
         "Сохранить файл артикулов", "art"},
        {"Файлы кассиров(*.opr)|*.OPR|Все файлы (*.*)|*.*", "Открыть файл кассиров",
         "Сохранить файл кассиров", "opr"},
        {"Файлы типов оплаты(*.opl)|*.OPL|Все файлы (*.*)|*.*", "Открыть файл типов оплаты",
         "Сохранить файл типов оплаты", "opl"},
        {"Файлы отделов(*.otd)|*.OTD|Все файлы (*.*)|*.*", "Открыть файл отделов",
         "Сохранить файл отделов", "otd"},
        {"Файлы заголовков и рекл. текста(*.hft)|*.HFT|Все файлы (*.*)|*.*",
         "Открыть файл заголовка и рекламного текста",
         "Сохранить файл заголовка и рекламного текста", "hft"},
        {"Файлы параметров кассы(*.pak)|*.PAK|Все файлы (*.*)|*.*", "Открыть файл параметров кассы",
         "Сохранить файл параметров кассы", "pak"},
        {"Файлы параметров чека(*.pac)|*.PAC|Все файлы (*.*)|*.*", "Открыть параметров чека",
         "Сохранить файл параметров чека", "pac"},
        {"Файлы служебной информации(*.slu)|*.SLU|Все файлы (*.*)|*.*",
         "Открыть файл служебной информации", "Сохранить файл служебной информации", "slu"},
    }};
    return texts;
}

}  // namespace

std::optional<FileDialogTexts> fileDialogTexts(int tab) {
    if (!isGridTab(tab) && !isParameterTab(tab)) return std::nullopt;
    return allTexts()[tab];
}

FileDialogRequest openFileRequest(const FileDialogTexts& texts, const QString& directory) {
    return {texts.openTitle, texts.filterList, texts.defaultExtension, directory};
}

FileDialogRequest saveFileRequest(const FileDialogTexts& texts, const QString& directory) {
    return {texts.saveTitle, texts.filterList, texts.defaultExtension, directory};
}

QString spreadsheetOpenFilter() {
    return QStringLiteral("CSV (*.csv *.txt)|*.CSV;*.TXT");
}

QString spreadsheetSaveFilter() {
    return QStringLiteral("CSV UTF-8 (*.csv)|*.CSV");
}

QString withSecondFilter(const QString& filterList, const QString& filter) {
    const QString first = filterList.section(u'|', 0, 1);
    const QString rest = filterList.section(u'|', 2);
    return rest.isEmpty() ? first + u'|' + filter : first + u'|' + filter + u'|' + rest;
}

bool isCsvName(const QString& path) {
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
}

bool isSpreadsheetName(const QString& path) {
    return isCsvName(path) || path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

}  // namespace tabulon::files
