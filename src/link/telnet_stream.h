#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <array>
#include <cstdint>

namespace tabulon::link {

// The few Telnet pieces a serial server's RFC 2217 port needs: the option
// negotiation (binary transmission both ways, COM-PORT-CONTROL), the
// sub-negotiations that carry the port's settings, and IAC escaping.
namespace telnet {

inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kSe = 240;

inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPort = 44;

// COM-PORT-CONTROL commands as the client sends them; the server answers
// each with the same number plus 100.
inline constexpr std::uint8_t kSetBaudRate = 1;
inline constexpr std::uint8_t kSetDataSize = 2;
inline constexpr std::uint8_t kSetParity = 3;
inline constexpr std::uint8_t kSetStopSize = 4;
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kServerOffset = 100;

// COM-PORT-CONTROL's code for a parity ('N', 'O', 'E', 'M', 'S'), and back;
// an unknown code reads as 'N'.
std::uint8_t parityCode(char parity);
char parityOfCode(std::uint8_t code);

// The data with every 0xFF doubled.
QByteArray escaped(QByteArrayView data);

// IAC SB COM-PORT-OPTION command value IAC SE, the value escaped.
QByteArray comPortCommand(std::uint8_t command, QByteArrayView value);

// A sub-negotiation the server sent.
struct Subnegotiation {
    std::uint8_t option = 0;
    QByteArray payload;  // unescaped, without IAC SB option and IAC SE

    bool operator==(const Subnegotiation&) const = default;
};

// The receiving side of a Telnet connection: separates the data from the
// commands, answers the other end's option requests, and remembers what was
// agreed. Bytes may arrive split anywhere, an IAC pair included. The client
// performs COM-PORT-CONTROL; a server (the simulated register's) has the
// client perform it.
class Stream {
public:
    enum class End { Client, Server };

    explicit Stream(End end = End::Client) : end_(end) {}

    // What this end asks for on connecting: binary both ways and the
    // COM-PORT option (when `comPort`).
    QByteArray opening(bool comPort);

    // Takes bytes received; appends the data among them to `data`.
    void receive(QByteArrayView bytes, QByteArray& data);
    // The answers the received requests need, to be sent; empties the store.
    QByteArray takeReplies();
    // The sub-negotiations received; empties the store.
    QList<Subnegotiation> takeSubnegotiations();

    // Whether the server agreed to an option of ours (localEnabled) or of its
    // own (remoteEnabled), and whether it said no to one we asked for.
    bool localEnabled(std::uint8_t option) const { return local_[option].enabled; }
    bool remoteEnabled(std::uint8_t option) const { return remote_[option].enabled; }
    bool localRefused(std::uint8_t option) const { return local_[option].refused; }

private:
    enum class State { Data, Iac, Command, Sb, SbIac };
    struct Side {
        bool enabled = false;
        bool pending = false;  // asked for, no answer yet
        bool refused = false;
    };

    // The options this end takes on either side; every other is refused.
    bool supported(std::uint8_t option, bool local) const;
    // The byte after an IAC.
    void afterIac(std::uint8_t byte, QByteArray& data);
    void command(std::uint8_t verb, std::uint8_t option);
    void reply(std::uint8_t verb, std::uint8_t option);

    End end_;
    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    Subnegotiation sub_;
    bool subStarted_ = false;
    std::array<Side, 256> local_{};   // options this end performs (WILL/WONT)
    std::array<Side, 256> remote_{};  // options the server performs (DO/DONT)
    QByteArray replies_;
    QList<Subnegotiation> subnegotiations_;
};

}  // namespace telnet

}  // namespace tabulon::link
