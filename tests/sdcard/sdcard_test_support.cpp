#include "sdcard_test_support.h"

#include <stdexcept>

#include "text/cp1251.h"

namespace tabulon::sdcard::testing {

QByteArray cp1251(const QString& text) {
    auto bytes = text::toCp1251(text);
    if (!bytes) throw std::invalid_argument("not Windows-1251");
    return *bytes;
}

QByteArray repeatedLines(const QByteArray& line, int count) {
    return (line + "\r\n").repeated(count);
}

QByteArray uploadLines(int count, const QByteArray& first) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        const QByteArray k = QByteArray::number(n);
        bytes += n == 1 && !first.isEmpty()
                     ? first
                     : k + ";" + k + ";G" + k + ";1.00;2.000;1;2;1;0;0;48" + k + ";";
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray salesLines(int count) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        const QByteArray k = QByteArray::number(n);
        bytes += k + ";1;" + k + ";" + k + ".00;0;0.00;0.50;\r\n";
    }
    return bytes;
}

}  // namespace tabulon::sdcard::testing
