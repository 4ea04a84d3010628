#include "ports/port_problem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "link/network_address.h"
#include "link/register_link.h"
#include "settings/settings_file.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tabulon::ports {

namespace {

#ifdef Q_OS_UNIX

QString processName(const QString& pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(comm.readLine(64)).trimmed();
}

QString described(const QString& pid) {
    const QString name = processName(pid);
    return name.isEmpty() ? QStringLiteral("PID %1").arg(pid)
                          : QStringLiteral("%1, PID %2").arg(name, pid);
}

// The places serial lock files ("LCK..ttyUSB0", the holder's PID on the
// first line) are kept; Qt's serial port takes the first it may write to.
QStringList lockDirectories() {
    return {QStringLiteral("/var/lock"),       QStringLiteral("/run/lock"),
            QStringLiteral("/etc/locks"),      QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"), QDir::tempPath()};
}

QString lockHolder(const QString& device) {
    QString name = device;
    if (name.startsWith(QStringLiteral("/dev/"))) name.remove(0, 5);
    name.replace(u'/', u'_');
    const QString self = QString::number(::getpid());
    for (const QString& directory : lockDirectories()) {
        QFile lock(directory + QStringLiteral("/LCK..") + name);
        if (!lock.open(QIODevice::ReadOnly)) continue;
        const QString pid = QString::fromLatin1(lock.readLine(32)).trimmed();
        if (!pid.isEmpty() && pid != self && QFileInfo::exists("/proc/" + pid))
            return described(pid);
    }
    return {};
}

// A process with the device among its open files (only the user's own
// processes are visible to a user who is not root).
QString openHolder(const QString& device) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return {};
    const QString self = QString::number(::getpid());
    const QStringList pids =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (pid == self || !pid.front().isDigit()) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QString& fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            if (QFile::symLinkTarget(fds.filePath(fd)) == target) return described(pid);
        }
    }
    return {};
}

class SystemDevices final : public DeviceSystem {
public:
    int accessError(const QString& device) const override {
        if (device.isEmpty()) return ENOENT;
        return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0 ? 0 : errno;
    }
    QString ownerGroup(const QString& device) const override {
        struct stat status {};
        if (::stat(QFile::encodeName(device).constData(), &status) != 0) return {};
        const group* owner = ::getgrgid(status.st_gid);
        return owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(status.st_gid);
    }
    QString userName() const override {
        const passwd* user = ::getpwuid(::geteuid());
        return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(::geteuid());
    }
    QString holder(const QString& device) const override {
        const QString locked = lockHolder(device);
        return locked.isEmpty() ? openHolder(device) : locked;
    }
    QString errorText(int error) const override {
        return QString::fromLocal8Bit(std::strerror(error));
    }
};

#else

class SystemDevices final : public DeviceSystem {
public:
    int accessError(const QString& device) const override { return device.isEmpty() ? ENOENT : 0; }
    QString ownerGroup(const QString&) const override { return {}; }
    QString userName() const override { return {}; }
    QString holder(const QString&) const override { return {}; }
    QString errorText(int error) const override {
        return QString::fromLocal8Bit(std::strerror(error));
    }
};

#endif

// Qt's serial port says this when another program holds the port's lock file.
bool lockRefused(const QString& systemText) {
    return systemText.contains(QStringLiteral("locking the device"), Qt::CaseInsensitive);
}

}  // namespace

const DeviceSystem& systemDevices() {
    static const SystemDevices system;
    return system;
}

namespace {

// A serial server's failure as the person is told it; the rest (a socket's
// own failure, an address that is none) in the system's words.
OpenProblem serverProblem(std::optional<link::NetworkFailure> failure) {
    using link::NetworkFailure;
    switch (failure.value_or(NetworkFailure::NotAnAddress)) {
        case NetworkFailure::HostNotFound:
            return OpenProblem::HostNotFound;
        case NetworkFailure::ConnectionRefused:
            return OpenProblem::ConnectionRefused;
        case NetworkFailure::NoAnswer:
            return OpenProblem::NoAnswer;
        case NetworkFailure::OptionRefused:
            return OpenProblem::OptionRefused;
        case NetworkFailure::OptionNotAnswered:
            return OpenProblem::OptionNotAnswered;
        case NetworkFailure::ConnectionClosed:
            return OpenProblem::ConnectionClosed;
        default:
            return OpenProblem::Other;
    }
}

}  // namespace

DeviceDiagnosis diagnoseOpenFailure(const QString& device, const QString& systemText,
                                    std::optional<link::NetworkFailure> serverFailure,
                                    const DeviceSystem& system) {
    DeviceDiagnosis diagnosis;
    if (link::isNetworkAddress(device)) {
        // No device file to look at: the server's answer is all there is.
        diagnosis.problem = serverProblem(serverFailure);
        return diagnosis;
    }
    const int access = system.accessError(device);
    if (access == ENOENT || access == ENOTDIR || systemText == system.errorText(ENOENT) ||
        systemText == system.errorText(ENODEV) || systemText == system.errorText(ENXIO)) {
        diagnosis.problem = OpenProblem::Missing;
        return diagnosis;
    }
    if (access == EACCES || access == EPERM || access == EROFS) {
        diagnosis.problem = OpenProblem::NoPermission;
        diagnosis.group = system.ownerGroup(device);
        diagnosis.user = system.userName();
        return diagnosis;
    }
    // Every program holds /dev/null: asking who holds it would blame one.
    if (systemText == system.errorText(ENOTTY) || systemText == system.errorText(EISDIR)) {
        diagnosis.problem = OpenProblem::NotASerialPort;
        return diagnosis;
    }
    diagnosis.holder = system.holder(device);
    if (!diagnosis.holder.isEmpty() || lockRefused(systemText) ||
        systemText == system.errorText(EBUSY)) {
        diagnosis.problem = OpenProblem::Busy;
    }
    return diagnosis;
}

PortFailure describePortFailure(const QString& iniFilePath, int portNumber, const QString& device,
                                const QString& systemText,
                                std::optional<link::NetworkFailure> serverFailure,
                                const DeviceSystem& system) {
    PortFailure failure;
    failure.device = device;
    failure.systemText = systemText;
    failure.diagnosis = diagnoseOpenFailure(device, systemText, serverFailure, system);
    if (portNumber >= 1 && portNumber <= kComPortCount) {
        const QList<PortAssignment> ports = portAssignments(iniFilePath);
        failure.portName = ports[portNumber - 1].name();
        failure.fromSettings = ports[portNumber - 1].source == PortSource::Settings;
        failure.portsFound = int(std::count_if(ports.begin(), ports.end(), [](const auto& port) {
            return port.source != PortSource::None;
        }));
    }
    return failure;
}

PortFailure linkOpenFailure(const link::RegisterLink& link, int portNumber) {
    return describePortFailure(settings::workingSettingsFile(), portNumber, link.openDevice(),
                               link.openErrorText(), link.openServerFailure());
}

}  // namespace tabulon::ports
