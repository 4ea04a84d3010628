#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon::link {

// A register behind a serial server: raw TCP passes the bytes as they are and
// leaves speed and framing to the server's own settings; RFC 2217 is Telnet
// with the COM-PORT-CONTROL option, through which the program sets the
// server's port as it sets a local one.
struct NetworkAddress {
    enum class Kind { RawTcp, Rfc2217 };
    Kind kind = Kind::RawTcp;
    QString host;  // a name, an IPv4 address, or an IPv6 address without brackets
    quint16 port = 0;

    bool operator==(const NetworkAddress&) const = default;
};

// True for a text that names a serial server ("tcp://..." or
// "rfc2217://..."), well formed or not; false for a device path or COM name.
bool isNetworkAddress(QStringView text);

// "tcp://HOST:PORT" or "rfc2217://HOST:PORT" (an IPv6 host in brackets);
// nullopt for anything else, a missing host or a port outside 1 to 65535.
// `anyPort`: port 0 is taken too, for an address to listen on, where it lets
// the system pick the port.
std::optional<NetworkAddress> parseNetworkAddress(QStringView text, bool anyPort = false);

// The address as parseNetworkAddress() reads it.
QString networkAddressText(const NetworkAddress& address);

}  // namespace tabulon::link
