#include "link/telnet_stream.h"

namespace tabulon::link::telnet {

namespace {

// A sub-negotiation longer than this is not one of the COM-PORT answers: it
// is kept no further, so a server that never ends one cannot fill memory.
constexpr qsizetype kMaxSubnegotiation = 512;

}  // namespace

std::uint8_t parityCode(char parity) {
    switch (parity) {
        case 'O':
            return 2;
        case 'E':
            return 3;
        case 'M':
            return 4;
        case 'S':
            return 5;
        default:
            return 1;
    }
}

char parityOfCode(std::uint8_t code) {
    for (const char parity : {'O', 'E', 'M', 'S'})
        if (parityCode(parity) == code) return parity;
    return 'N';
}

QByteArray escaped(QByteArrayView data) {
    QByteArray out;
    out.reserve(data.size() + data.size() / 8);
    for (const char byte : data) {
        out.append(byte);
        if (std::uint8_t(byte) == kIac) out.append(char(kIac));
    }
    return out;
}

QByteArray comPortCommand(std::uint8_t command, QByteArrayView value) {
    QByteArray out;
    out.append(char(kIac)).append(char(kSb)).append(char(kComPort)).append(char(command));
    out.append(escaped(value));
    out.append(char(kIac)).append(char(kSe));
    return out;
}

bool Stream::supported(std::uint8_t option, bool local) const {
    if (option == kBinary || option == kSuppressGoAhead) return true;
    return option == kComPort && local == (end_ == End::Client);
}

QByteArray Stream::opening(bool comPort) {
    // Binary both ways: the register's CR and NUL bytes must pass as they are,
    // not as the network virtual terminal's CR NUL and CR LF. What the server
    // has already asked for and been given is not asked for again.
    QByteArray out;
    const auto ask = [&](Side& side, std::uint8_t verb, std::uint8_t option) {
        if (side.enabled || side.pending) return;
        side.pending = true;
        out.append(char(kIac)).append(char(verb)).append(char(option));
    };
    ask(local_[kBinary], kWill, kBinary);
    ask(remote_[kBinary], kDo, kBinary);
    if (comPort && end_ == End::Client) ask(local_[kComPort], kWill, kComPort);
    if (comPort && end_ == End::Server) ask(remote_[kComPort], kDo, kComPort);
    return out;
}

void Stream::receive(QByteArrayView bytes, QByteArray& data) {
    for (const char c : bytes) {
        const auto byte = std::uint8_t(c);
        switch (state_) {
            case State::Data:
                if (byte == kIac)
                    state_ = State::Iac;
                else
                    data.append(c);
                break;
            case State::Iac:
                afterIac(byte, data);
                break;
            case State::Command:
                command(verb_, byte);
                state_ = State::Data;
                break;
            case State::Sb:
                if (byte == kIac) {
                    state_ = State::SbIac;
                } else if (!subStarted_) {
                    sub_.option = byte;
                    subStarted_ = true;
                } else if (sub_.payload.size() < kMaxSubnegotiation) {
                    sub_.payload.append(c);
                }
                break;
            case State::SbIac:
                if (byte == kIac) {
                    if (!subStarted_) {
                        sub_.option = byte;
                        subStarted_ = true;
                    } else if (sub_.payload.size() < kMaxSubnegotiation) {
                        sub_.payload.append(c);
                    }
                    state_ = State::Sb;
                } else if (byte == kSe) {
                    if (subStarted_) subnegotiations_.append(sub_);
                    state_ = State::Data;
                } else if (byte < kSe) {
                    // No command: a server that did not double its IAC. Both
                    // bytes stay where they came, in the sub-negotiation.
                    if (sub_.payload.size() + 1 < kMaxSubnegotiation)
                        sub_.payload.append(char(kIac)).append(c);
                    state_ = State::Sb;
                } else {
                    // A command inside a sub-negotiation ends it unfinished;
                    // the command is still one, and its option byte no data.
                    afterIac(byte, data);
                }
                break;
        }
    }
}

void Stream::afterIac(std::uint8_t byte, QByteArray& data) {
    if (byte == kIac) {
        data.append(char(byte));
        state_ = State::Data;
    } else if (byte < kSe) {
        // No Telnet command starts below SE: this is a server that did not
        // double an IAC in the register's data. Both bytes are the register's;
        // dropping the second could turn an "E" refusal into a plain reply.
        data.append(char(kIac)).append(char(byte));
        state_ = State::Data;
    } else if (byte >= kWill && byte <= kDont) {
        verb_ = byte;
        state_ = State::Command;
    } else if (byte == kSb) {
        sub_ = {};
        subStarted_ = false;
        state_ = State::Sb;
    } else {
        // NOP, GA, DM and the other one-byte commands carry nothing here.
        state_ = State::Data;
    }
}

void Stream::reply(std::uint8_t verb, std::uint8_t option) {
    replies_.append(char(kIac)).append(char(verb)).append(char(option));
}

void Stream::command(std::uint8_t verb, std::uint8_t option) {
    // Answered as RFC 1143 asks: a request that matches the state in force
    // gets no answer, so two ends never bounce one back and forth.
    const bool local = verb == kDo || verb == kDont;
    Side& side = local ? local_[option] : remote_[option];
    const bool wants = verb == kDo || verb == kWill;
    const std::uint8_t yes = local ? kWill : kDo;
    const std::uint8_t no = local ? kWont : kDont;
    if (wants) {
        if (side.enabled) return;
        if (side.pending || supported(option, local)) {
            if (!side.pending) reply(yes, option);
            side.enabled = true;
            side.pending = false;
            side.refused = false;
        } else {
            reply(no, option);
        }
    } else {
        if (side.pending) side.refused = true;
        side.pending = false;
        if (!side.enabled) return;
        side.enabled = false;
        reply(no, option);
    }
}

QByteArray Stream::takeReplies() {
    QByteArray out;
    out.swap(replies_);
    return out;
}

QList<Subnegotiation> Stream::takeSubnegotiations() {
    QList<Subnegotiation> out;
    out.swap(subnegotiations_);
    return out;
}

}  // namespace tabulon::link::telnet
