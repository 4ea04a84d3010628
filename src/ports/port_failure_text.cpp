#include <QStringView>
#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "link/network_address.h"
#include "ports/port_problem.h"

namespace tabulon::ports {

namespace {

bool adminOnly(const DeviceDiagnosis& diagnosis) {
    return diagnosis.group.isEmpty() || diagnosis.group == u"root";
}

// The failures as the texts tell them apart.
enum class FailureKind {
    NoDeviceNoneFound,     // nothing stands for the COM name, and no port was found
    NoDeviceSomeFound,     // nothing stands for the COM name
    DeviceAbsent,          // a device named directly that is not there
    SettingsDeviceAbsent,  // [Ports] names a device that is not there
    DeviceGone,            // a device found earlier that is no longer there
    RootOnly,
    GroupOnly,
    BusyUnknown,  // held by a program not known by name
    BusyHeld,
    NotASerialPort,
    Other,
    HostNotFound,
    ConnectionRefused,
    NoAnswer,
    OptionRefused,
    OptionNotAnswered,
    ConnectionClosed,
};

// Each failure in both languages. The marks mean the same in every text:
// %1 the COM name, %2 the device, %3 what did not open ("Порт COM3
// (/dev/ttyUSB0)"), %4 the same after "к" ("к порту COM3 (/dev/ttyUSB0)"),
// %5 the device's group, %6 the user, %7 the program holding the device,
// %8 the system's words, %9 the number of ports found.
struct FailureWording {
    FailureKind kind;
    const char16_t* russian;
    const char16_t* english;
};

constexpr FailureWording kFailureWordings[] = {
    {FailureKind::NoDeviceNoneFound,
     u"Порту %1 не соответствует ни одно устройство: на этом компьютере не найдено ни одного "
     u"последовательного порта. Выберите другой порт или укажите устройство в разделе [Ports] "
     u"файла Tabulon.ini, например %1=/dev/ttyUSB0.",
     u"%1 stands for no device: %9 serial port(s) found on this machine; choose another or name "
     u"a device in [Ports] of Tabulon.ini (%1=/dev/ttyUSB0)"},
    {FailureKind::NoDeviceSomeFound,
     u"Порту %1 не соответствует ни одно устройство: на этом компьютере найдено "
     u"последовательных портов: %9. Выберите другой порт или укажите устройство в разделе "
     u"[Ports] файла Tabulon.ini, например %1=/dev/ttyUSB0.",
     u"%1 stands for no device: %9 serial port(s) found on this machine; choose another or name "
     u"a device in [Ports] of Tabulon.ini (%1=/dev/ttyUSB0)"},
    {FailureKind::DeviceAbsent, u"Устройства %2 нет.", u"%2 does not exist"},
    {FailureKind::SettingsDeviceAbsent,
     u"Порт %1 — это %2 (раздел [Ports] файла Tabulon.ini), но такого устройства нет. "
     u"Подключите адаптер или исправьте запись %1 в Tabulon.ini.",
     u"%1 is %2 ([Ports] of Tabulon.ini), and there is no such device: plug the adapter in or "
     u"correct the entry"},
    {FailureKind::DeviceGone,
     u"Порт %1 — это %2, но такого устройства больше нет. Проверьте, подключён ли адаптер.",
     u"%1 is %2, and that device is gone: check that the adapter is plugged in"},
    {FailureKind::RootOnly,
     u"Нет доступа %4: его открывает только администратор (root). Попросите администратора дать "
     u"доступ к устройству.",
     u"%3: permission denied; only root may open it: ask the administrator for access"},
    {FailureKind::GroupOnly,
     u"Нет доступа %4: его открывают только члены группы %5, а пользователь %6 в неё не входит. "
     u"Добавьте пользователя в группу (sudo usermod -aG %5 %6) и войдите в систему заново.",
     u"%3: permission denied; only members of the group %5 may open it and user %6 is not one: "
     u"add the user to it (sudo usermod -aG %5 %6) and log in again"},
    {FailureKind::BusyUnknown,
     u"%3 занят другой программой. Закройте программу, которая работает с ним, и подключитесь "
     u"снова.",
     u"%3 is busy: another program holds it; close that program and try again"},
    {FailureKind::BusyHeld, u"%3 занят другой программой (%7). Закройте её и подключитесь снова.",
     u"%3 is busy: %7 holds it; close it and try again"},
    {FailureKind::NotASerialPort,
     u"%3 — не последовательный порт. Укажите устройство, к которому подключён ЭККА.",
     u"%3 is not a serial port: name the device the register is attached to"},
    {FailureKind::Other, u"%3 не открылся: %8", u"%3 did not open: %8"},
    {FailureKind::HostNotFound,
     u"%3 не открылся: сервер не найден в сети. Проверьте имя или адрес сервера.",
     u"%3 did not open: host not found; check the server's name or address"},
    {FailureKind::ConnectionRefused,
     u"%3 не открылся: сервер отказал в соединении. Проверьте номер порта сервера и что служба "
     u"на нём запущена.",
     u"%3 did not open: the server refused the connection; check the port number and that the "
     u"service runs on the server"},
    {FailureKind::NoAnswer,
     u"%3 не открылся: сервер не ответил. Проверьте, включён ли сервер и доступен ли он по сети.",
     u"%3 did not open: no answer from the server within the connect time-out; check that it is "
     u"on and reachable"},
    {FailureKind::OptionRefused,
     u"%3 не открылся: сервер не принял управление портом (RFC 2217). Включите на сервере режим "
     u"RFC 2217 или укажите адрес tcp://.",
     u"%3 did not open: the server refused the COM-PORT option (RFC 2217); switch the server's "
     u"port to RFC 2217 or use tcp://"},
    {FailureKind::OptionNotAnswered,
     u"%3 не открылся: сервер не ответил на управление портом (RFC 2217), видимо, это порт без "
     u"Telnet. Укажите адрес tcp:// или включите на сервере режим RFC 2217.",
     u"%3 did not open: the server did not answer the COM-PORT option (RFC 2217), a raw port "
     u"most likely; use tcp:// or switch the server's port to RFC 2217"},
    {FailureKind::ConnectionClosed,
     u"%3 не открылся: сервер закрыл соединение. Возможно, порт сервера занят другим "
     u"подключением.",
     // %8 is the link's own wording, with the server's words where it sent some.
     u"%3 did not open: %8; its port may be in use by another connection"},
};

// What did not open, in the marks %1 and %2 of the texts above.
struct PlaceWording {
    const char16_t* russian;
    const char16_t* russianAfterK;
    const char16_t* english;
    bool neuter = false;  // the Russian noun: the verbs after %3 agree with it
};
constexpr PlaceWording kPortPlace{u"Порт %1 (%2)", u"к порту %1 (%2)", u"%1 (%2)"};
constexpr PlaceWording kDevicePlace{u"Устройство %2", u"к устройству %2", u"%2", true};
constexpr PlaceWording kAddressPlace{u"Порт %2", u"к порту %2", u"%2"};

// The Russian texts above are written for "Порт"; these are their verbs as
// they stand after a neuter noun.
constexpr std::pair<QStringView, QStringView> kNeuterVerbs[] = {
    {u"%3 занят ", u"%3 занято "},
    {u"%3 не открылся", u"%3 не открылось"},
};

enum class Language { Russian, English };

using Marks = std::array<QString, 9>;

// The text with %1 to %9 replaced in one pass, so that a mark inside a value
// (a device path with "%2" in it) stays as it is.
QString filled(QStringView text, const Marks& marks) {
    QString result;
    result.reserve(text.size() + 64);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (text[i] == u'%' && next >= u'1' && next <= u'9') {
            result += marks[next.unicode() - u'1'];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

// A device comes from Tabulon.ini, which may hold anything: a value of
// megabytes would bury the message, so it is shown cut.
QString shown(const QString& value) {
    constexpr qsizetype kLongest = 80;
    if (value.size() <= kLongest) return value;
    return value.left(kLongest - 1) + u'…';
}

FailureKind kindOf(const PortFailure& failure) {
    const DeviceDiagnosis& diagnosis = failure.diagnosis;
    switch (diagnosis.problem) {
        case OpenProblem::Missing:
            if (failure.device.isEmpty())
                return failure.portsFound == 0 ? FailureKind::NoDeviceNoneFound
                                               : FailureKind::NoDeviceSomeFound;
            if (failure.portName.isEmpty()) return FailureKind::DeviceAbsent;
            return failure.fromSettings ? FailureKind::SettingsDeviceAbsent
                                        : FailureKind::DeviceGone;
        case OpenProblem::NoPermission:
            return adminOnly(diagnosis) ? FailureKind::RootOnly : FailureKind::GroupOnly;
        case OpenProblem::Busy:
            return diagnosis.holder.isEmpty() ? FailureKind::BusyUnknown : FailureKind::BusyHeld;
        case OpenProblem::NotASerialPort:
            return FailureKind::NotASerialPort;
        case OpenProblem::Other:
            break;
        case OpenProblem::HostNotFound:
            return FailureKind::HostNotFound;
        case OpenProblem::ConnectionRefused:
            return FailureKind::ConnectionRefused;
        case OpenProblem::NoAnswer:
            return FailureKind::NoAnswer;
        case OpenProblem::OptionRefused:
            return FailureKind::OptionRefused;
        case OpenProblem::OptionNotAnswered:
            return FailureKind::OptionNotAnswered;
        case OpenProblem::ConnectionClosed:
            return FailureKind::ConnectionClosed;
    }
    return FailureKind::Other;
}

QString failureText(const PortFailure& failure, Language language) {
    const bool russian = language == Language::Russian;
    const FailureKind kind = kindOf(failure);
    const FailureWording& wording =
        *std::find_if(std::begin(kFailureWordings), std::end(kFailureWordings),
                      [kind](const FailureWording& row) { return row.kind == kind; });
    const PlaceWording& place = !failure.portName.isEmpty()              ? kPortPlace
                                : link::isNetworkAddress(failure.device) ? kAddressPlace
                                                                         : kDevicePlace;

    Marks marks{failure.portName,
                shown(failure.device),
                {},
                {},
                failure.diagnosis.group,
                failure.diagnosis.user,
                failure.diagnosis.holder,
                shown(failure.systemText),
                QString::number(failure.portsFound)};
    marks[2] = filled(russian ? place.russian : place.english, marks);
    marks[3] = filled(russian ? place.russianAfterK : place.english, marks);
    QString text = QString::fromUtf16(russian ? wording.russian : wording.english);
    if (russian && place.neuter) {
        for (const auto& [masculine, neuter] : kNeuterVerbs)
            text.replace(masculine.toString(), neuter.toString());
    }
    return filled(text, marks);
}

}  // namespace

QString portFailureText(const PortFailure& failure) {
    return failureText(failure, Language::Russian);
}

QString portFailureTextEnglish(const PortFailure& failure) {
    return failureText(failure, Language::English);
}

}  // namespace tabulon::ports
