#include "sdcard_test_support.h"

namespace tabulon::sdcard::testing {

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
