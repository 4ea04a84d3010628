#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tabulon::cli {

// One run of tabulon-cli: where the register is and the one operation to do.
struct CliRequest {
    enum class Command { Detect, Read, Write, Reset };

    QString port = QStringLiteral("COM1");  // COM1..COM9 or a device path
    int speed = 4800;
    int registerNumber = 1;
    Command command = Command::Detect;
    int table = 0;
    int record = 0;
    QString data;  // as typed; crosses to Windows-1251 before it is sent
    bool help = false;
};

struct ParsedCliRequest {
    std::optional<CliRequest> request;  // nullopt: `error` says what is wrong
    QString error;
};

// The arguments after the program name.
ParsedCliRequest parseCliRequest(const QStringList& arguments);
QString cliUsage();

// COMn as its port number 1..9; nullopt for a device path.
std::optional<int> comPortNumber(const QString& port);

}  // namespace tabulon::cli
