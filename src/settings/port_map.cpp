#include "settings/port_map.h"

#include "settings/profile_file.h"

namespace tabulon::settings {

QString portDevice(const QString& iniFilePath, int portNumber) {
    const QString name = QStringLiteral("COM%1").arg(portNumber);
    const QString fallback = QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
    const QString mapped = ProfileFile(iniFilePath).read(QStringLiteral("Ports"), name, {}, 499);
    return mapped.isEmpty() ? fallback : mapped;
}

}  // namespace tabulon::settings
