#pragma once

#include <QByteArray>
#include <QString>

#include "text/cp1251.h"

// Expected record bytes written as readable text in the test source.
inline QByteArray cp1251(const char* utf8) {
    return tabulon::text::toCp1251(QString::fromUtf8(utf8)).value_or("<not encodable>");
}
