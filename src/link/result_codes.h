#pragma once

#include <QString>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string_view>

namespace tabulon::link {

// The link's operations; a result code means something only together with the
// operation that returned it (-1 is "bad port number" from OpenPort but "no
// answer" from ReadRecord).
enum class Operation {
    OpenPort,
    ClosePort,
    SelectRegister,
    PollRegister,
    ReadRecord,
    WriteRecord,
    ResetLink,
    DetectRegister
};

// Why an operation ended as it did. One number may stand for several causes
// (ReadRecord's -12 for a refused frame as much as for a reply cut short); the
// link keeps the cause of its last result beside the number.
enum class ResultCause {
    Done,
    PortNumberOutOfRange,
    SpeedNotSupported,
    DeviceDidNotOpen,
    NoLineSettings,
    LineSettingsNotApplied,
    NotTheOpenPort,
    CloseRefused,
    PortNotOpen,
    RegisterNumberOutOfRange,
    NoAnswer,
    RefusedFrame,        // a byte other than ACK after the frame
    AwaitedByteMissing,  // the ACK, the reply or its check bytes did not come
    CommandTooLong,
    ReplyTooLong,
    DamagedReplyLine,  // a write reply whose LF is missing, doubled or late
    RegisterRefused,   // "E" replies to every attempt
    CheckBytesDiffer,
    ConnectionLost,  // the serial server ended the connection during the exchange
    // The port could not be opened again for an exchange, its serial server
    // refusing or not answering the connection for as long as a run waits.
    ServerUnreachable,
};

// A set of operations, one bit each.
using Operations = unsigned;

constexpr Operations operations(std::initializer_list<Operation> list) {
    Operations set = 0;
    for (Operation operation : list) set |= 1u << unsigned(operation);
    return set;
}

constexpr bool contains(Operations set, Operation operation) {
    return (set & operations({operation})) != 0;
}

// One cause as some operations report it.
struct ResultRow {
    int code;  // Done: any result of 0 or more
    Operations operations;
    ResultCause cause;
    std::u16string_view russian;
    std::u16string_view english;
    // What the number alone means where several causes share it, for faces
    // that have only the number; empty where the number has this cause only.
    std::u16string_view englishOfCode = {};
};

namespace detail {

inline constexpr std::u16string_view kExchangeFailed =
    u"the register did not take the command, an awaited byte did not come, "
    u"or a command or reply was longer than the link takes";
inline constexpr std::u16string_view kCloseFailed = u"that port is not open, or it did not close";
inline constexpr std::u16string_view kNotSent =
    u"the port is not open, or its serial server is not reachable";

constexpr Operations kAll =
    operations({Operation::OpenPort, Operation::ClosePort, Operation::SelectRegister,
                Operation::PollRegister, Operation::ReadRecord, Operation::WriteRecord,
                Operation::ResetLink, Operation::DetectRegister});
constexpr Operations kOpen = operations({Operation::OpenPort});
constexpr Operations kClose = operations({Operation::ClosePort});
constexpr Operations kSelectPoll = operations({Operation::SelectRegister, Operation::PollRegister});
constexpr Operations kExchange = operations({Operation::ReadRecord, Operation::WriteRecord});
constexpr Operations kRead = operations({Operation::ReadRecord});
constexpr Operations kWrite = operations({Operation::WriteRecord});
constexpr Operations kNumbered =
    operations({Operation::ReadRecord, Operation::WriteRecord, Operation::DetectRegister});
constexpr Operations kNeedsOpenPort = operations({Operation::ResetLink, Operation::DetectRegister});
constexpr Operations kDetect = operations({Operation::DetectRegister});

}  // namespace detail

// Every result of every operation of the link, said once.
inline constexpr ResultRow kResultRows[] = {
    // clang-format off
    {0, detail::kAll, ResultCause::Done, u"выполнено", u"done"},

    {-1, detail::kOpen, ResultCause::PortNumberOutOfRange,
     u"номер порта не от 1 до 9", u"port number outside 1 to 9"},
    {-2, detail::kOpen, ResultCause::SpeedNotSupported,
     u"скорость не поддерживается", u"speed not supported"},
    {-3, detail::kOpen, ResultCause::DeviceDidNotOpen,
     u"порт не открывается", u"the port could not be opened"},
    {-4, detail::kOpen, ResultCause::NoLineSettings,
     u"параметры линии не составлены", u"the line settings could not be built"},
    {-5, detail::kOpen, ResultCause::LineSettingsNotApplied,
     u"параметры линии не установлены", u"the line settings could not be applied"},

    {-1, detail::kClose, ResultCause::NotTheOpenPort,
     u"этот порт не открыт", u"that port is not open", detail::kCloseFailed},
    {-1, detail::kClose, ResultCause::CloseRefused,
     u"порт не закрывается", u"the port did not close", detail::kCloseFailed},

    {-1, detail::kSelectPoll, ResultCause::NoAnswer,
     u"нет ответа", u"no answer from the register"},
    {-1, detail::kExchange, ResultCause::NoAnswer,
     u"нет ответа за 300 мс", u"the register did not answer its select sequence"},
    {-2, detail::kNumbered, ResultCause::RegisterNumberOutOfRange,
     u"номер ЭККА не от 1 до 99", u"register number outside 1 to 99"},

    {-12, detail::kExchange, ResultCause::RefusedFrame,
     u"ЭККА не принял команду", u"the register did not take the command",
     detail::kExchangeFailed},
    {-12, detail::kExchange, ResultCause::AwaitedByteMissing,
     u"ожидаемый байт не пришёл", u"an awaited byte did not come", detail::kExchangeFailed},
    {-12, detail::kExchange, ResultCause::CommandTooLong,
     u"команда длиннее допустимого", u"the command was longer than the link takes",
     detail::kExchangeFailed},
    {-12, detail::kExchange, ResultCause::ReplyTooLong,
     u"ответ длиннее допустимого", u"the reply was longer than the link takes",
     detail::kExchangeFailed},
    {-12, detail::kWrite, ResultCause::DamagedReplyLine,
     u"ответ повреждён", u"the reply line was damaged", detail::kExchangeFailed},
    {-15, detail::kExchange, ResultCause::RegisterRefused,
     u"ЭККА отвечает «E»", u"the register refused the record (\"E\" reply)"},
    {-12, detail::kExchange, ResultCause::ConnectionLost,
     u"сервер порта закрыл соединение", u"the serial server closed the connection",
     detail::kExchangeFailed},
    // Nothing was sent: an exchange needs an open port.
    {-4, detail::kExchange, ResultCause::PortNotOpen,
     u"порт не открыт", u"the port is not open", detail::kNotSent},
    {-4, detail::kExchange, ResultCause::ServerUnreachable,
     u"сервер порта недоступен", u"the serial server is not reachable", detail::kNotSent},
    {-1000, detail::kRead, ResultCause::CheckBytesDiffer,
     u"контрольные байты не сходятся", u"check bytes of the reply do not match"},

    {-1, detail::kNeedsOpenPort, ResultCause::PortNotOpen,
     u"порт не открыт", u"the port is not open"},
    {-3, detail::kDetect, ResultCause::NoAnswer,
     u"ЭККА с этим номером не отвечает", u"no register answers with that number"},
    // clang-format on
};

// The place in the table of `cause` as `operation` reports it; -1 when it
// never does. An index, not a pointer: GCC's undefined-behaviour sanitizer
// makes a pointer compared with null in a constant expression not constant.
constexpr int resultRowIndex(Operation operation, ResultCause cause) {
    for (int index = 0; index < int(std::size(kResultRows)); ++index) {
        const ResultRow& row = kResultRows[index];
        if (row.cause == cause && contains(row.operations, operation)) return index;
    }
    return -1;
}

// The row of `cause` as `operation` reports it; nullptr when it never does.
constexpr const ResultRow* resultRow(Operation operation, ResultCause cause) {
    const int index = resultRowIndex(operation, cause);
    return index < 0 ? nullptr : &kResultRows[index];
}

// The number an operation returns for a cause; a pair with no row does not
// compile.
consteval int resultCode(Operation operation, ResultCause cause) {
    const int index = resultRowIndex(operation, cause);
    if (index < 0 || cause == ResultCause::Done) throw std::logic_error("no such result");
    return kResultRows[index].code;
}

// A result as the link hands it over: the number and why.
struct LinkResult {
    int code;
    ResultCause cause;
};

consteval LinkResult linkResult(Operation operation, ResultCause cause) {
    return {resultCode(operation, cause), cause};
}

// The cause's text for the user, in Russian and in English.
QString russianText(Operation operation, ResultCause cause);
QString englishText(Operation operation, ResultCause cause);

// One short line saying what a result of an operation means, e.g.
// "check bytes of the reply do not match" for ReadRecord's -1000.
QString resultMeaning(Operation operation, int result);

}  // namespace tabulon::link
