#pragma once

#include <QFile>

namespace tabulon::bench {

// The process's resident memory now, in megabytes (Linux; 0 elsewhere).
inline double residentMegabytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

}  // namespace tabulon::bench
