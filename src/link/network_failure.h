#pragma once

#include <QString>
#include <QStringView>
#include <iterator>
#include <string_view>

namespace tabulon::link {

// Why a port behind a serial server did not open or went away. The network
// port reports it beside its errorString() (BytePort::serverFailure()), and
// the text starts with the words of the failure.
enum class NetworkFailure {
    NotAnAddress,        // neither tcp://HOST:PORT nor rfc2217://HOST:PORT
    HostNotFound,        // the name does not resolve
    ConnectionRefused,   // nothing listens on that port of the server
    NoAnswer,            // no answer within the connect time-out
    OptionRefused,       // the server said no to the COM-PORT option
    OptionNotAnswered,   // no answer to the COM-PORT option: a raw port, most likely
    SettingRefused,      // the server set a line setting other than the one asked for
    SettingNotAnswered,  // the server confirmed no line setting within the time-out
    ConnectionClosed,    // the server ended the connection
};

struct NetworkFailureWords {
    NetworkFailure failure;
    std::u16string_view english;
};

inline constexpr NetworkFailureWords kNetworkFailureWords[] = {
    {NetworkFailure::NotAnAddress, u"not a serial server address"},
    {NetworkFailure::HostNotFound, u"host not found"},
    {NetworkFailure::ConnectionRefused, u"connection refused"},
    {NetworkFailure::NoAnswer, u"no answer within the connect time-out"},
    {NetworkFailure::OptionRefused, u"the server refused the COM-PORT option"},
    {NetworkFailure::OptionNotAnswered, u"the server did not answer the COM-PORT option"},
    {NetworkFailure::SettingRefused, u"the server refused a line setting"},
    {NetworkFailure::SettingNotAnswered, u"the server did not confirm the line settings"},
    {NetworkFailure::ConnectionClosed, u"the server closed the connection"},
};

// A failure a serial server shows for a moment while it restarts: nothing
// listens yet, or it hangs up on a client it is not ready for. Worth opening
// again after a pause. A name that does not resolve or a host that does not
// answer is no restart: each try would only cost another connect time-out.
inline bool passingFailure(NetworkFailure failure) {
    return failure == NetworkFailure::ConnectionRefused ||
           failure == NetworkFailure::ConnectionClosed;
}

inline QString networkFailureWords(NetworkFailure failure) {
    for (const NetworkFailureWords& row : kNetworkFailureWords) {
        if (row.failure == failure)
            return QStringView(row.english.data(), qsizetype(row.english.size())).toString();
    }
    return {};
}

}  // namespace tabulon::link
