#include "import/spreadsheet_number.h"

#include <array>

namespace tabulon::import {

namespace {

bool isGroupBlank(QChar c) {
    return c == u' ' || c == u'\u00A0' || c == u'\u2009' || c == u'\u202F';
}

// Longest first: "руб." before "р.".
constexpr std::array<QStringView, 5> kCurrencySigns{u"руб.", u"руб", u"р.", u"р", u"₽"};

}  // namespace

QString gridNumber(QStringView text) {
    QStringView number = text.trimmed();
    for (QStringView sign : kCurrencySigns) {
        if (number.endsWith(sign, Qt::CaseInsensitive)) {
            number.chop(sign.size());
            break;
        }
    }
    QString plain;
    plain.reserve(number.size());
    for (QChar c : number) {
        if (isGroupBlank(c)) continue;
        plain += c == u',' ? QChar(u'.') : c;
    }
    // Not a number after all: the text as the user wrote it goes on.
    for (QChar c : plain) {
        if (!c.isDigit() && c != u'.' && c != u'-' && c != u'+') return text.trimmed().toString();
    }
    return plain;
}

}  // namespace tabulon::import
