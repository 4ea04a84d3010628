#pragma once

#include <QString>
#include <optional>

#include "link/network_failure.h"
#include "ports/port_map.h"

namespace tabulon::link {
class RegisterLink;
}

namespace tabulon::ports {

// Why a serial device did not open, in the terms a person can act on.
enum class OpenProblem {
    Missing,         // there is no such device (or no device stands for the COM name)
    NoPermission,    // the user may not read and write it
    Busy,            // another program holds it
    NotASerialPort,  // a file, a folder or a device with no line settings (/dev/null)
    Other,           // anything else: the system's words say what
    // A serial server (tcp://, rfc2217://) that did not let the port open.
    HostNotFound,
    ConnectionRefused,
    NoAnswer,           // nothing within the connect time-out
    OptionRefused,      // the COM-PORT option of RFC 2217 refused
    OptionNotAnswered,  // no Telnet answer: a raw port, most likely
    ConnectionClosed,   // the server hung up at once (its port in use, say)
};

struct DeviceDiagnosis {
    OpenProblem problem = OpenProblem::Other;
    QString group;   // NoPermission: the group that owns the device file
    QString user;    // NoPermission: who runs the program
    QString holder;  // Busy: the program that holds it ("minicom, PID 4321"), when known
};

// The system calls a diagnosis rests on; tests give any answers they like.
class DeviceSystem {
public:
    virtual ~DeviceSystem() = default;
    // The errno opening `device` for reading and writing meets by its file
    // alone (ENOENT, EACCES), or 0 when the file lets this user in.
    virtual int accessError(const QString& device) const = 0;
    virtual QString ownerGroup(const QString& device) const = 0;
    virtual QString userName() const = 0;
    // Another program that has the device open or holds its lock file, as
    // "name, PID n"; empty when none is seen.
    virtual QString holder(const QString& device) const = 0;
    // The system's words for an errno (what the port reported is compared
    // with them).
    virtual QString errorText(int error) const = 0;
};

// This machine: access(2), stat(2), the lock files of serial ports and /proc.
const DeviceSystem& systemDevices();

// Why `device` did not open, from the system's text of the failure and a
// look at the device; a serial server's address by the failure its port
// reported.
DeviceDiagnosis diagnoseOpenFailure(const QString& device, const QString& systemText,
                                    std::optional<link::NetworkFailure> serverFailure,
                                    const DeviceSystem& system = systemDevices());

// A port that did not open, with everything the person is told.
struct PortFailure {
    QString portName;           // "COM3"; empty when the device was named directly
    QString device;             // the device opened; empty when nothing stands for portName
    bool fromSettings = false;  // the device comes from [Ports] of Tabulon.ini
    int portsFound = 0;         // COM names that stand for a device, when device is empty
    DeviceDiagnosis diagnosis;
    QString systemText;
};

// The window's text ("Ошибка подключения"), in Russian.
QString portFailureText(const PortFailure& failure);
// The command line's text, in English, with the same facts.
QString portFailureTextEnglish(const PortFailure& failure);

// The failure of opening COM<portNumber> (or a device named directly when
// portNumber is 0) as the system and the settings file tell it.
PortFailure describePortFailure(const QString& iniFilePath, int portNumber, const QString& device,
                                const QString& systemText,
                                std::optional<link::NetworkFailure> serverFailure,
                                const DeviceSystem& system = systemDevices());

// The failure of the link's last OpenPort, whose device did not open:
// COM<portNumber> (0: a device named directly) as Tabulon.ini in the working
// directory and this machine tell it. The window and the command line both
// report it this way.
PortFailure linkOpenFailure(const link::RegisterLink& link, int portNumber);

}  // namespace tabulon::ports
