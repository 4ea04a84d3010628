#include "link/line_settings.h"

#include <QList>
#include <QStringList>
#include <array>

namespace tabulon::link {

namespace {

constexpr std::array kSpeeds{4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700, 115200};

std::optional<int> positiveNumber(QByteArrayView digits) {
    bool ok = false;
    const int value = digits.toByteArray().toInt(&ok);
    if (!ok || value <= 0 || digits.startsWith('+')) return std::nullopt;
    return value;
}

}  // namespace

std::optional<QByteArray> speedText(int speed) {
    for (int accepted : kSpeeds) {
        if (accepted == speed) return ':' + QByteArray::number(speed) + ',';
    }
    return std::nullopt;
}

QList<int> acceptedSpeeds() {
    return QList<int>(kSpeeds.begin(), kSpeeds.end());
}

QString speedList(QStringView last) {
    QStringList speeds;
    for (int speed : kSpeeds) speeds << QString::number(speed);
    const QString fastest = speeds.takeLast();
    return speeds.join(QStringLiteral(", ")) + last.toString() + fastest;
}

QByteArray modeText(int port, QByteArrayView speedText) {
    return "COM" + QByteArray::number(port) + speedText.toByteArray() + "N,8,2";
}

std::optional<LineSettings> lineSettingsFromMode(QByteArrayView mode) {
    const qsizetype colon = mode.indexOf(':');
    if (!mode.startsWith("COM") || colon < 0) return std::nullopt;
    const QList<QByteArray> parts = mode.sliced(colon + 1).toByteArray().split(',');
    if (parts.size() != 4 || parts[1].size() != 1) return std::nullopt;

    const auto baud = positiveNumber(parts[0]);
    const auto dataBits = positiveNumber(parts[2]);
    const auto stopBits = positiveNumber(parts[3]);
    const char parity = parts[1].at(0);
    if (!baud || !dataBits || !stopBits) return std::nullopt;
    if (*dataBits < 5 || *dataBits > 8 || *stopBits > 2) return std::nullopt;
    if (QByteArrayView("NOEMS").indexOf(parity) < 0) return std::nullopt;

    LineSettings settings;
    settings.baudRate = *baud;
    settings.dataBits = *dataBits;
    settings.parity = parity;
    settings.stopBits = *stopBits;
    return settings;
}

}  // namespace tabulon::link
