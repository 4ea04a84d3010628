#include "ports/port_problem.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

using namespace tabulon::ports;

namespace {

// A machine as a test wants it: what access(2) says, the device's group, the
// program holding it, and errno texts in English.
class FakeDevices final : public DeviceSystem {
public:
    int access = 0;
    QString group = "dialout";
    QString holderText;

    int accessError(const QString& device) const override {
        return device.isEmpty() ? ENOENT : access;
    }
    QString ownerGroup(const QString&) const override { return group; }
    QString userName() const override { return "oksana"; }
    QString holder(const QString&) const override { return holderText; }
    QString errorText(int error) const override {
        switch (error) {
            case ENOENT:
                return "No such file or directory";
            case EBUSY:
                return "Device or resource busy";
            case ENODEV:
                return "No such device";
            case ENXIO:
                return "No such device or address";
            case ENOTTY:
                return "Inappropriate ioctl for device";
        }
        return "Unknown error";
    }
};

PortFailure onCom3(OpenProblem problem, bool fromSettings = false) {
    PortFailure failure;
    failure.portName = "COM3";
    failure.device = "/dev/ttyUSB0";
    failure.fromSettings = fromSettings;
    failure.diagnosis.problem = problem;
    return failure;
}

}  // namespace

TEST(PortProblem, DiagnosisFromTheSystemsAnswers) {
    using tabulon::link::NetworkFailure;
    const struct {
        const char* device;
        const char* systemText;
        int access;
        QString holder;
        OpenProblem problem;
        std::optional<NetworkFailure> server = std::nullopt;
    } rows[] = {
        {"/dev/ttyUSB0", "No such file or directory", ENOENT, "", OpenProblem::Missing},
        // Nothing stands for the COM name: nothing was opened at all.
        {"", "", 0, "", OpenProblem::Missing},
        {"/dev/ttyS3", "No such device or address", 0, "", OpenProblem::Missing},
        {"/dev/ttyUSB0", "Permission denied", EACCES, "", OpenProblem::NoPermission},
        // Busy: the kernel's EBUSY, Qt's lock file, or a program seen holding it.
        {"/dev/ttyUSB0", "Device or resource busy", 0, "", OpenProblem::Busy},
        {"/dev/ttyUSB0", "Permission error while locking the device", 0, "", OpenProblem::Busy},
        {"/dev/ttyUSB0", "Input/output error", 0, "minicom, PID 4321", OpenProblem::Busy},
        // Every program has /dev/null open; it has no line settings to take.
        {"/dev/null", "Inappropriate ioctl for device", 0, "minicom, PID 4321",
         OpenProblem::NotASerialPort},
        {"/dev/ttyS1", "Input/output error", 0, "", OpenProblem::Other},
        // A serial server has no device file: the failure its port reported
        // decides, whatever its text or the file system say.
        {"rfc2217://10.0.3.7:4001", "", ENOENT, "x", OpenProblem::HostNotFound,
         NetworkFailure::HostNotFound},
        {"tcp://h:1", "Permission denied", EACCES, "x", OpenProblem::ConnectionRefused,
         NetworkFailure::ConnectionRefused},
        {"rfc2217://h:1", "", ENOENT, "x", OpenProblem::NoAnswer, NetworkFailure::NoAnswer},
        {"rfc2217://h:1", "", ENOENT, "x", OpenProblem::OptionRefused,
         NetworkFailure::OptionRefused},
        {"rfc2217://h:1", "", ENOENT, "x", OpenProblem::OptionNotAnswered,
         NetworkFailure::OptionNotAnswered},
        {"tcp://h:1", "", ENOENT, "x", OpenProblem::ConnectionClosed,
         NetworkFailure::ConnectionClosed},
        {"tcp://box", "", ENOENT, "x", OpenProblem::Other, NetworkFailure::NotAnAddress},
        {"tcp://h:1", "host not found (h)", ENOENT, "x", OpenProblem::Other},
    };
    for (const auto& row : rows) {
        FakeDevices system;
        system.access = row.access;
        system.holderText = row.holder;
        const DeviceDiagnosis diagnosis =
            diagnoseOpenFailure(row.device, row.systemText, row.server, system);
        const bool denied = row.problem == OpenProblem::NoPermission;
        const bool held = row.problem == OpenProblem::Busy;
        EXPECT_EQ(diagnosis.problem, row.problem) << row.device << row.systemText;
        EXPECT_EQ(diagnosis.group, denied ? "dialout" : "") << row.device << row.systemText;
        EXPECT_EQ(diagnosis.user, denied ? "oksana" : "") << row.device << row.systemText;
        EXPECT_EQ(diagnosis.holder, held ? row.holder : "") << row.device << row.systemText;
    }
}

TEST(PortProblem, MissingDeviceSaysWhatTheNameStandsFor) {
    PortFailure failure = onCom3(OpenProblem::Missing, true);
    EXPECT_EQ(portFailureText(failure),
              "Порт COM3 — это /dev/ttyUSB0 (раздел [Ports] файла Tabulon.ini), но такого "
              "устройства нет. Подключите адаптер или исправьте запись COM3 в Tabulon.ini.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "COM3 is /dev/ttyUSB0 ([Ports] of Tabulon.ini), and there is no such device: plug "
              "the adapter in or correct the entry");

    failure.fromSettings = false;
    EXPECT_EQ(portFailureText(failure),
              "Порт COM3 — это /dev/ttyUSB0, но такого устройства больше нет. Проверьте, "
              "подключён ли адаптер.");
    EXPECT_EQ(
        portFailureTextEnglish(failure),
        "COM3 is /dev/ttyUSB0, and that device is gone: check that the adapter is plugged in");

    failure.device.clear();
    failure.portsFound = 2;
    EXPECT_EQ(portFailureText(failure),
              "Порту COM3 не соответствует ни одно устройство: на этом компьютере найдено "
              "последовательных портов: 2. Выберите другой порт или укажите устройство в разделе "
              "[Ports] файла Tabulon.ini, например COM3=/dev/ttyUSB0.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "COM3 stands for no device: 2 serial port(s) found on this machine; choose another "
              "or name a device in [Ports] of Tabulon.ini (COM3=/dev/ttyUSB0)");
    failure.portsFound = 0;
    EXPECT_EQ(portFailureText(failure),
              "Порту COM3 не соответствует ни одно устройство: на этом компьютере не найдено ни "
              "одного последовательного порта. Выберите другой порт или укажите устройство в "
              "разделе [Ports] файла Tabulon.ini, например COM3=/dev/ttyUSB0.");

    PortFailure direct = onCom3(OpenProblem::Missing);
    direct.portName.clear();
    EXPECT_EQ(portFailureText(direct), "Устройства /dev/ttyUSB0 нет.");
    EXPECT_EQ(portFailureTextEnglish(direct), "/dev/ttyUSB0 does not exist");
}

TEST(PortProblem, PermissionDeniedNamesTheGroupToJoin) {
    PortFailure failure = onCom3(OpenProblem::NoPermission);
    failure.diagnosis.group = "dialout";
    failure.diagnosis.user = "oksana";
    EXPECT_EQ(portFailureText(failure),
              "Нет доступа к порту COM3 (/dev/ttyUSB0): его открывают только члены группы "
              "dialout, а пользователь oksana в неё не входит. Добавьте пользователя в группу "
              "(sudo usermod -aG dialout oksana) и войдите в систему заново.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "COM3 (/dev/ttyUSB0): permission denied; only members of the group dialout may "
              "open it and user oksana is not one: add the user to it (sudo usermod -aG dialout "
              "oksana) and log in again");

    failure.diagnosis.group = "root";
    EXPECT_EQ(portFailureText(failure),
              "Нет доступа к порту COM3 (/dev/ttyUSB0): его открывает только администратор "
              "(root). Попросите администратора дать доступ к устройству.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "COM3 (/dev/ttyUSB0): permission denied; only root may open it: ask the "
              "administrator for access");

    // A device named directly, not through a COM name.
    failure.portName.clear();
    failure.diagnosis.group = "uucp";
    EXPECT_EQ(portFailureText(failure),
              "Нет доступа к устройству /dev/ttyUSB0: его открывают только члены группы uucp, а "
              "пользователь oksana в неё не входит. Добавьте пользователя в группу (sudo usermod "
              "-aG uucp oksana) и войдите в систему заново.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "/dev/ttyUSB0: permission denied; only members of the group uucp may open it and "
              "user oksana is not one: add the user to it (sudo usermod -aG uucp oksana) and log "
              "in again");
}

TEST(PortProblem, BusyAndOtherFailures) {
    PortFailure failure = onCom3(OpenProblem::Busy);
    EXPECT_EQ(portFailureText(failure),
              "Порт COM3 (/dev/ttyUSB0) занят другой программой. Закройте программу, которая "
              "работает с ним, и подключитесь снова.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "COM3 (/dev/ttyUSB0) is busy: another program holds it; close that program and "
              "try again");
    failure.diagnosis.holder = "minicom, PID 4321";
    EXPECT_EQ(portFailureText(failure),
              "Порт COM3 (/dev/ttyUSB0) занят другой программой (minicom, PID 4321). Закройте её "
              "и подключитесь снова.");
    EXPECT_EQ(portFailureTextEnglish(failure),
              "COM3 (/dev/ttyUSB0) is busy: minicom, PID 4321 holds it; close it and try again");

    PortFailure other = onCom3(OpenProblem::Other);
    other.systemText = "Input/output error";
    EXPECT_EQ(portFailureText(other), "Порт COM3 (/dev/ttyUSB0) не открылся: Input/output error");
    EXPECT_EQ(portFailureTextEnglish(other),
              "COM3 (/dev/ttyUSB0) did not open: Input/output error");
}

TEST(PortProblem, TheSystemsOwnAnswers) {
    const DeviceSystem& system = systemDevices();
    EXPECT_EQ(system.accessError("/dev/tabulon-no-such-port"), ENOENT);
    EXPECT_EQ(diagnoseOpenFailure("/dev/tabulon-no-such-port", "", {}).problem,
              OpenProblem::Missing);

    // A device file the user may not open: as a user without privileges, in
    // a child process when the tests run as root.
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyFAKE");
    QFile(device).open(QIODevice::WriteOnly);
    const group* dialout = ::getgrnam("dialout");
    const gid_t gid = dialout ? dialout->gr_gid : ::getgid();
    // Without root the file keeps the user's own group unless the user is in dialout.
    const bool chowned = ::chown(QFile::encodeName(device).constData(), ::geteuid(), gid) == 0;
    const QString groupName = chowned && dialout ? "dialout" : system.ownerGroup(device);
    ASSERT_EQ(::chmod(QFile::encodeName(device).constData(), 0600), 0);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) _exit(3);
        } else {
            // Without root, the file is the user's own; only its mode keeps them out.
            ::chmod(QFile::encodeName(device).constData(), 0);
        }
        const DeviceDiagnosis diagnosis = diagnoseOpenFailure(device, "Permission denied", {});
        const QByteArray line = QByteArray::number(int(diagnosis.problem)) + ' ' +
                                diagnosis.group.toUtf8() + ' ' + diagnosis.user.toUtf8();
        (void)!::write(pipeEnds[1], line.constData(), size_t(line.size()));
        _exit(0);
    }
    ::close(pipeEnds[1]);
    char buffer[256] = {};
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer - 1);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    ASSERT_GT(got, 0);
    const QString user = ::geteuid() == 0 ? "nobody" : system.userName();
    EXPECT_EQ(QString::fromUtf8(buffer),
              QStringLiteral("%1 %2 %3").arg(int(OpenProblem::NoPermission)).arg(groupName, user));
}

// Every kind of failure in both languages, through a COM name and with a
// device named directly; values with "%" in them go in as they are.
TEST(PortProblem, EveryFailureInBothLanguages) {
    const struct {
        const char* what;
        QString portName, device;
        bool fromSettings;
        int portsFound;
        OpenProblem problem;
        QString group, holder, systemText;
        QString russian, english;
    } rows[] = {
        {"no device, none found", "COM4", "", false, 0, OpenProblem::Missing, "", "", "",
         "Порту COM4 не соответствует ни одно устройство: на этом компьютере не найдено ни одного "
         "последовательного порта. Выберите другой порт или укажите устройство в разделе [Ports] "
         "файла Tabulon.ini, например COM4=/dev/ttyUSB0.",
         "COM4 stands for no device: 0 serial port(s) found on this machine; choose another or "
         "name a device in [Ports] of Tabulon.ini (COM4=/dev/ttyUSB0)"},
        {"no device, some found", "COM9", "", false, 12, OpenProblem::Missing, "", "", "",
         "Порту COM9 не соответствует ни одно устройство: на этом компьютере найдено "
         "последовательных портов: 12. Выберите другой порт или укажите устройство в разделе "
         "[Ports] файла Tabulon.ini, например COM9=/dev/ttyUSB0.",
         "COM9 stands for no device: 12 serial port(s) found on this machine; choose another or "
         "name a device in [Ports] of Tabulon.ini (COM9=/dev/ttyUSB0)"},
        {"a device named directly is not there", "", "/dev/ttyACM%1", false, 0,
         OpenProblem::Missing, "", "", "", "Устройства /dev/ttyACM%1 нет.",
         "/dev/ttyACM%1 does not exist"},
        {"the [Ports] device is not there", "COM2", "/dev/tty%2", true, 1, OpenProblem::Missing, "",
         "", "",
         "Порт COM2 — это /dev/tty%2 (раздел [Ports] файла Tabulon.ini), но такого устройства "
         "нет. Подключите адаптер или исправьте запись COM2 в Tabulon.ini.",
         "COM2 is /dev/tty%2 ([Ports] of Tabulon.ini), and there is no such device: plug the "
         "adapter in or correct the entry"},
        // Tabulon.ini may hold anything: a value of megabytes would bury the text.
        {"a [Ports] value of 100 000 characters", "COM1", "/dev/" + QString(100000, u'x'), true, 1,
         OpenProblem::Missing, "", "", "",
         "Порт COM1 — это /dev/" + QString(74, u'x') +
             "… (раздел [Ports] файла Tabulon.ini), но "
             "такого устройства нет. Подключите адаптер или исправьте запись COM1 в Tabulon.ini.",
         "COM1 is /dev/" + QString(74, u'x') +
             "… ([Ports] of Tabulon.ini), and there is no such "
             "device: plug the adapter in or correct the entry"},
        {"a device found is gone", "COM1", "/dev/ttyS0", false, 1, OpenProblem::Missing, "", "", "",
         "Порт COM1 — это /dev/ttyS0, но такого устройства больше нет. Проверьте, подключён "
         "ли адаптер.",
         "COM1 is /dev/ttyS0, and that device is gone: check that the adapter is plugged in"},
        {"root only, directly", "", "/dev/ttyS1", false, 0, OpenProblem::NoPermission, "", "", "",
         "Нет доступа к устройству /dev/ttyS1: его открывает только администратор (root). "
         "Попросите администратора дать доступ к устройству.",
         "/dev/ttyS1: permission denied; only root may open it: ask the administrator for access"},
        {"a group, through a COM name", "COM5", "/dev/ttyUSB3", false, 2, OpenProblem::NoPermission,
         "dial%7out", "", "",
         "Нет доступа к порту COM5 (/dev/ttyUSB3): его открывают только члены группы dial%7out, а "
         "пользователь oksana в неё не входит. Добавьте пользователя в группу (sudo usermod -aG "
         "dial%7out oksana) и войдите в систему заново.",
         "COM5 (/dev/ttyUSB3): permission denied; only members of the group dial%7out may open it "
         "and user oksana is not one: add the user to it (sudo usermod -aG dial%7out oksana) and "
         "log in again"},
        {"busy, holder unknown, directly", "", "/dev/ttyUSB0", false, 0, OpenProblem::Busy, "", "",
         "",
         "Устройство /dev/ttyUSB0 занято другой программой. Закройте программу, которая "
         "работает с ним, и подключитесь снова.",
         "/dev/ttyUSB0 is busy: another program holds it; close that program and try again"},
        {"busy, holder known, directly", "", "/dev/ttyUSB0", false, 0, OpenProblem::Busy, "",
         "screen, PID 77", "",
         "Устройство /dev/ttyUSB0 занято другой программой (screen, PID 77). Закройте её и "
         "подключитесь снова.",
         "/dev/ttyUSB0 is busy: screen, PID 77 holds it; close it and try again"},
        {"no serial port, directly", "", "/dev/null", false, 0, OpenProblem::NotASerialPort, "", "",
         "",
         "Устройство /dev/null — не последовательный порт. Укажите устройство, к которому "
         "подключён ЭККА.",
         "/dev/null is not a serial port: name the device the register is attached to"},
        {"anything else, directly", "", "/dev/pts/3", false, 0, OpenProblem::Other, "", "",
         "50% of %1", "Устройство /dev/pts/3 не открылось: 50% of %1",
         "/dev/pts/3 did not open: 50% of %1"},
        {"server not found, through a COM name", "COM5", "tcp://shop7.example:950", true, 1,
         OpenProblem::HostNotFound, "", "", "",
         "Порт COM5 (tcp://shop7.example:950) не открылся: сервер не найден в сети. Проверьте "
         "имя или адрес сервера.",
         "COM5 (tcp://shop7.example:950) did not open: host not found; check the server's name "
         "or address"},
        {"connection refused, directly", "", "rfc2217://127.0.0.1:4001", false, 0,
         OpenProblem::ConnectionRefused, "", "", "",
         "Порт rfc2217://127.0.0.1:4001 не открылся: сервер отказал в соединении. Проверьте "
         "номер порта сервера и что служба на нём запущена.",
         "rfc2217://127.0.0.1:4001 did not open: the server refused the connection; check the "
         "port number and that the service runs on the server"},
        {"no answer", "COM5", "rfc2217://10.0.3.7:4001", true, 1, OpenProblem::NoAnswer, "", "", "",
         "Порт COM5 (rfc2217://10.0.3.7:4001) не открылся: сервер не ответил. Проверьте, включён "
         "ли сервер и доступен ли он по сети.",
         "COM5 (rfc2217://10.0.3.7:4001) did not open: no answer from the server within the "
         "connect time-out; check that it is on and reachable"},
        {"COM-PORT refused", "COM5", "rfc2217://10.0.3.7:4001", true, 1, OpenProblem::OptionRefused,
         "", "", "",
         "Порт COM5 (rfc2217://10.0.3.7:4001) не открылся: сервер не принял управление портом "
         "(RFC 2217). Включите на сервере режим RFC 2217 или укажите адрес tcp://.",
         "COM5 (rfc2217://10.0.3.7:4001) did not open: the server refused the COM-PORT option "
         "(RFC 2217); switch the server's port to RFC 2217 or use tcp://"},
        {"COM-PORT not answered", "", "rfc2217://10.0.3.7:4001", false, 0,
         OpenProblem::OptionNotAnswered, "", "", "",
         "Порт rfc2217://10.0.3.7:4001 не открылся: сервер не ответил на управление портом "
         "(RFC 2217), видимо, это порт без Telnet. Укажите адрес tcp:// или включите на сервере "
         "режим RFC 2217.",
         "rfc2217://10.0.3.7:4001 did not open: the server did not answer the COM-PORT option "
         "(RFC 2217), a raw port most likely; use tcp:// or switch the server's port to RFC 2217"},
        {"closed at once", "COM6", "tcp://10.0.3.7:4002", true, 1, OpenProblem::ConnectionClosed,
         "", "", "the server closed the connection (Port already in use)",
         "Порт COM6 (tcp://10.0.3.7:4002) не открылся: сервер закрыл соединение. Возможно, порт "
         "сервера занят другим подключением.",
         "COM6 (tcp://10.0.3.7:4002) did not open: the server closed the connection (Port already "
         "in use); its port may be in use by another connection"},
        {"anything else, a server named directly", "", "tcp://[::1]:9", false, 0,
         OpenProblem::Other, "", "", "[::1]:9: Network unreachable",
         "Порт tcp://[::1]:9 не открылся: [::1]:9: Network unreachable",
         "tcp://[::1]:9 did not open: [::1]:9: Network unreachable"},
    };
    for (const auto& row : rows) {
        PortFailure failure;
        failure.portName = row.portName;
        failure.device = row.device;
        failure.fromSettings = row.fromSettings;
        failure.portsFound = row.portsFound;
        failure.diagnosis.problem = row.problem;
        failure.diagnosis.group = row.group;
        failure.diagnosis.user = "oksana";
        failure.diagnosis.holder = row.holder;
        failure.systemText = row.systemText;
        EXPECT_EQ(portFailureText(failure), row.russian) << row.what;
        EXPECT_EQ(portFailureTextEnglish(failure), row.english) << row.what;
    }
}
