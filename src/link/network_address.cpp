#include "link/network_address.h"

#include <algorithm>

namespace tabulon::link {

namespace {

constexpr QStringView kRawScheme = u"tcp://";
constexpr QStringView kRfc2217Scheme = u"rfc2217://";

// A host name holds letters, digits, "-", "." and "_"; an address in brackets
// also ":" and a zone after "%". Anything else ("user@host", "host?x") is a
// typing mistake that the name lookup would only report as a host not found.
bool hostCharacters(QStringView host, bool bracketed) {
    const QStringView extra = bracketed ? u"-._:%" : u"-._";
    return std::all_of(host.begin(), host.end(),
                       [&](QChar c) { return c.isLetterOrNumber() || extra.contains(c); });
}

}  // namespace

bool isNetworkAddress(QStringView text) {
    return text.startsWith(kRawScheme, Qt::CaseInsensitive) ||
           text.startsWith(kRfc2217Scheme, Qt::CaseInsensitive);
}

std::optional<NetworkAddress> parseNetworkAddress(QStringView text, bool anyPort) {
    NetworkAddress address;
    QStringView rest;
    if (text.startsWith(kRawScheme, Qt::CaseInsensitive)) {
        rest = text.mid(kRawScheme.size());
    } else if (text.startsWith(kRfc2217Scheme, Qt::CaseInsensitive)) {
        address.kind = NetworkAddress::Kind::Rfc2217;
        rest = text.mid(kRfc2217Scheme.size());
    } else {
        return std::nullopt;
    }
    // A trailing "/" is what people copy from a browser; anything after it is not ours.
    if (rest.endsWith(u'/')) rest.chop(1);
    qsizetype colon = -1;
    if (rest.startsWith(u'[')) {
        const qsizetype close = rest.indexOf(u']');
        if (close < 0 || close + 1 >= rest.size() || rest[close + 1] != u':') return std::nullopt;
        address.host = rest.mid(1, close - 1).toString();
        colon = close + 1;
    } else {
        colon = rest.lastIndexOf(u':');
        if (colon < 0) return std::nullopt;
        address.host = rest.left(colon).toString();
        if (address.host.contains(u':')) return std::nullopt;
    }
    if (address.host.isEmpty() || !hostCharacters(address.host, rest.startsWith(u'[')))
        return std::nullopt;
    const QStringView portText = rest.mid(colon + 1);
    // Digits only: the number reader would pass over blanks and a sign, and
    // an address with a blank in it is not the one the person meant.
    const bool digits = !portText.isEmpty() && std::all_of(portText.begin(), portText.end(),
                                                           [](QChar c) { return c.isDigit(); });
    bool ok = false;
    const uint port = digits ? portText.toUInt(&ok) : 0;
    if (!ok || port < (anyPort ? 0u : 1u) || port > 65535) return std::nullopt;
    address.port = quint16(port);
    return address;
}

QString networkAddressText(const NetworkAddress& address) {
    const QStringView scheme =
        address.kind == NetworkAddress::Kind::Rfc2217 ? kRfc2217Scheme : kRawScheme;
    const QString host =
        address.host.contains(u':') ? QStringLiteral("[%1]").arg(address.host) : address.host;
    return QStringLiteral("%1%2:%3").arg(scheme, host).arg(address.port);
}

}  // namespace tabulon::link
