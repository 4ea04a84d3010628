#include "ports/serial_devices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace tabulon::ports {

namespace {

// How far up from a tty's device the USB device with its descriptors is:
// ttyUSB sits below a port below the interface, ttyACM below the interface.
constexpr int kUsbLevels = 4;

QString readLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readLine(256)).trimmed();
}

// ttyUSB2 before ttyUSB10.
int deviceNumber(const QString& name, qsizetype prefixLength) {
    bool ok = false;
    const int number = name.mid(prefixLength).toInt(&ok);
    return ok ? number : -1;
}

QStringList numbered(const QDir& dev, const QString& prefix) {
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    QStringList names;
    for (const QString& name : dev.entryList({prefix + u'*'}, QDir::System | QDir::Files)) {
        if (digits.match(name.mid(prefix.size())).hasMatch()) names << name;
    }
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return deviceNumber(a, prefix.size()) < deviceNumber(b, prefix.size());
    });
    return names;
}

// The serial core puts the UART type into `type`; 0 is "unknown", the
// ttyS<n> the kernel keeps ready for a card that is not there.
bool hasUart(const QString& root, const QString& name) {
    bool ok = false;
    const int type = readLine(root + QStringLiteral("/sys/class/tty/") + name + "/type").toInt(&ok);
    return ok && type != 0;
}

// Maker, product and serial number from the USB device above the tty in
// /sys, where there is one.
void readUsbDetails(const QString& root, const QString& name, SerialDevice& device) {
    QString dir =
        QFileInfo(root + QStringLiteral("/sys/class/tty/") + name + "/device").canonicalFilePath();
    for (int level = 0; level < kUsbLevels && !dir.isEmpty(); ++level) {
        if (QFileInfo::exists(dir + "/idVendor")) {
            const QString maker = readLine(dir + "/manufacturer");
            const QString product = readLine(dir + "/product");
            device.description = product.startsWith(maker) ? product
                                 : product.isEmpty()       ? maker
                                                           : (maker + u' ' + product).trimmed();
            device.serialNumber = readLine(dir + "/serial");
            return;
        }
        dir = QFileInfo(dir).path();
    }
}

}  // namespace

ByIdParts parseByIdName(const QString& name) {
    static const QRegularExpression bus(QStringLiteral("^[a-z]+-"));
    static const QRegularExpression tail(QStringLiteral("-if\\d+(-port\\d+)?$"));
    QString id = name;
    id.remove(bus);
    id.remove(tail);
    const qsizetype last = id.lastIndexOf(u'_');
    if (last < 0) return {id, QString()};
    return {id.left(last).replace(u'_', u' '), id.mid(last + 1)};
}

QList<SerialDevice> findSerialDevices(const QString& root) {
    QString base = root;
    while (base.endsWith(u'/')) base.chop(1);
    const QDir dev(base + QStringLiteral("/dev"));
    QList<SerialDevice> devices;
    const auto listed = [&](const QString& path) {
        return std::any_of(devices.begin(), devices.end(),
                           [&](const SerialDevice& d) { return d.path == path; });
    };

    const QDir byId(base + QStringLiteral("/dev/serial/by-id"));
    for (const QString& name : byId.entryList(QDir::System | QDir::Files, QDir::Name)) {
        const QString target = QFileInfo(byId.filePath(name)).canonicalFilePath();
        if (target.isEmpty() || !target.startsWith(base + "/dev/")) continue;
        const QString path = target.mid(base.size());
        if (listed(path)) continue;
        SerialDevice device{path, name, QString(), QString()};
        readUsbDetails(base, QFileInfo(path).fileName(), device);
        if (device.description.isEmpty() && device.serialNumber.isEmpty()) {
            const ByIdParts parts = parseByIdName(name);
            device.description = parts.description;
            device.serialNumber = parts.serialNumber;
        }
        devices << device;
    }
    for (const QString& prefix : {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM")}) {
        for (const QString& name : numbered(dev, prefix)) {
            const QString path = QStringLiteral("/dev/") + name;
            if (listed(path)) continue;
            SerialDevice device{path, QString(), QString(), QString()};
            readUsbDetails(base, name, device);
            devices << device;
        }
    }
    for (const QString& name : numbered(dev, QStringLiteral("ttyS"))) {
        const QString path = QStringLiteral("/dev/") + name;
        if (!listed(path) && hasUart(base, name)) devices << SerialDevice{path, {}, {}, {}};
    }
    return devices;
}

}  // namespace tabulon::ports
