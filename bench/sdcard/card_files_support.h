#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "support/cp1251.h"
#include "support/file_bytes.h"

namespace tabulon::sdcard::bench {

// A full card as a Neon register leaves it: 10000 goods and their sales,
// with names of several words (their spaces kept as 0x96).
inline void writeFullCard(const QString& directory) {
    QByteArray upload;
    QByteArray sales;
    for (int n = 1; n <= 10000; ++n) {
        const QString k = QString::number(n);
        upload += tabulon::testing::cp1251(k + ";" + k + ";Товар–номер–" + k +
                                           ";12.50;100.000;1;2;1;0;0;48200000" +
                                           k.rightJustified(5, '0') + ";\r\n");
        sales += (k + ";1;15.000;187.50;1.000;12.50;0.00;\r\n").toLatin1();
    }
    tabulon::testing::writeFile(directory + "/upload.art", upload);
    tabulon::testing::writeFile(directory + "/sales.art", sales);
}

}  // namespace tabulon::sdcard::bench
