#include "link/device_names.h"

namespace tabulon::link {

QString defaultDevice(int port) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

}  // namespace tabulon::link
