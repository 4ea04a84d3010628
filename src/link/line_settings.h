#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon::link {

// What the register line is set to: the registers expect 8 data bits, no
// parity, 2 stop bits and DTR on, at one of a fixed set of speeds.
struct LineSettings {
    int baudRate = 0;
    int dataBits = 8;
    char parity = 'N';
    int stopBits = 2;
    bool dataTerminalReady = false;

    bool operator==(const LineSettings&) const = default;
};

// The speed text (":9600,") of a speed the registers accept, else nullopt.
// 57700 is accepted and means 57700 baud; 57600 is not accepted.
std::optional<QByteArray> speedText(int speed);

// Every speed speedText() accepts, slowest first.
QList<int> acceptedSpeeds();
// The accepted speeds for a message, the last after `last`:
// "4800, 9600, ... or 115200" for u" or ".
QString speedList(QStringView last = u", ");

// "COM1:9600,N,8,2" for port 1 at 9600.
QByteArray modeText(int port, QByteArrayView speedText);

// Reads a mode text back into settings (DTR off: the caller decides about DTR);
// nullopt when it is not of the form COMn:speed,parity,data bits,stop bits.
std::optional<LineSettings> lineSettingsFromMode(QByteArrayView mode);

}  // namespace tabulon::link
