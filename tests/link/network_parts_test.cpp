#include <gtest/gtest.h>

#include "link/network_address.h"
#include "link/telnet_stream.h"

using namespace tabulon;
using link::NetworkAddress;
namespace telnet = link::telnet;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int value : values) out.append(char(value));
    return out;
}

}  // namespace

TEST(NetworkAddress, TakesTheTwoSchemesAndRefusesTheRest) {
    using K = NetworkAddress::Kind;
    struct Case {
        const char* text;
        bool network;                           // isNetworkAddress
        std::optional<NetworkAddress> address;  // parseNetworkAddress
    };
    const Case cases[] = {
        {"tcp://10.0.3.7:4001", true, NetworkAddress{K::RawTcp, "10.0.3.7", 4001}},
        {"rfc2217://10.0.3.7:4001", true, NetworkAddress{K::Rfc2217, "10.0.3.7", 4001}},
        {"RFC2217://shop7.example:950", true, NetworkAddress{K::Rfc2217, "shop7.example", 950}},
        {"tcp://[::1]:2000", true, NetworkAddress{K::RawTcp, "::1", 2000}},
        {"tcp://box:65535/", true, NetworkAddress{K::RawTcp, "box", 65535}},
        {"tcp://box:65536", true, std::nullopt},
        {"tcp://box:0", true, std::nullopt},
        {"tcp://box:+40", true, std::nullopt},
        {"tcp://box", true, std::nullopt},
        {"tcp://:4001", true, std::nullopt},
        {"tcp://::1:4001", true, std::nullopt},
        {"tcp://[::1]4001", true, std::nullopt},
        {"tcp://a/b:4001", true, std::nullopt},
        {"tcp://u@box:4001", true, std::nullopt},
        {"tcp://box?x:4001", true, std::nullopt},
        {"tcp://[fe80::1%eth0]:4001", true, NetworkAddress{K::RawTcp, "fe80::1%eth0", 4001}},
        {"tcp://my_box-7.shop:4001", true, NetworkAddress{K::RawTcp, "my_box-7.shop", 4001}},
        {"rfc2217://box:40x", true, std::nullopt},
        {"tcp://box: 4001", true, std::nullopt},
        {"tcp://box:4001 ", true, std::nullopt},
        {"tcp://box:40 01", true, std::nullopt},
        {"tcp://[::1]: 4001", true, std::nullopt},
        {"tcp://box:04001", true, NetworkAddress{K::RawTcp, "box", 4001}},
        {"/dev/ttyUSB0", false, std::nullopt},
        {"COM5", false, std::nullopt},
        {"telnet://box:23", false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(link::isNetworkAddress(QString::fromLatin1(c.text)), c.network);
        EXPECT_EQ(link::parseNetworkAddress(QString::fromLatin1(c.text)), c.address);
    }
}

TEST(TelnetEscaping, DoublesEveryIacAndNothingElse) {
    struct Case {
        QByteArray data;
        QByteArray sent;
    };
    const Case cases[] = {
        {"", ""},
        {"W0;1;", "W0;1;"},
        {bytes({0xFF}), bytes({0xFF, 0xFF})},
        {bytes({0xFF, 0xFF, 0x11, 0x11, 0xFF}),
         bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x11, 0x11, 0xFF, 0xFF})},
        {bytes({0x0D, 0x00, 0x0A, 0xFE, 0xF0}), bytes({0x0D, 0x00, 0x0A, 0xFE, 0xF0})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(telnet::escaped(c.data), c.sent) << c.data.toHex().constData();
        // What is sent comes back as it was, however the bytes are split.
        for (qsizetype split = 0; split <= c.sent.size(); ++split) {
            telnet::Stream stream;
            QByteArray data;
            stream.receive(c.sent.left(split), data);
            stream.receive(c.sent.mid(split), data);
            EXPECT_EQ(data, c.data) << "split at " << split;
            EXPECT_TRUE(stream.takeReplies().isEmpty());
        }
    }
}

TEST(TelnetStream, AnswersTheServersRequestsAndKeepsItsData) {
    using namespace telnet;
    struct Case {
        const char* name;
        bool comPort;  // the opening asks for COM-PORT
        QByteArray received;
        QByteArray data;     // what passes as data
        QByteArray replies;  // what the client answers
        bool comPortEnabled;
        bool comPortRefused;
    };
    const Case cases[] = {
        {"opening as ser2net sends it", true,
         bytes({kIac, kWill, 3,   kIac, kDo,  3,     kIac, kWill, 1,   kIac, kDont,
                1,    kIac,  kDo, 0,    kIac, kWill, 0,    kIac,  kDo, 44}),
         "", bytes({kIac, kDo, 3, kIac, kWill, 3, kIac, kDont, 1}), true, false},
        {"COM-PORT refused", true, bytes({kIac, kDont, 44}), "", "", false, true},
        {"COM-PORT offered though not asked for", false, bytes({kIac, kDo, 44}), "",
         bytes({kIac, kWill, 44}), true, false},
        {"a request already in force is not answered again", true,
         bytes({kIac, kDo, 44, kIac, kDo, 44, kIac, kWill, 0, kIac, kWill, 0}), "", "", true,
         false},
        {"an option withdrawn is confirmed", true, bytes({kIac, kDo, 44, kIac, kDont, 44}), "",
         bytes({kIac, kWont, 44}), false, false},
        {"unknown options are refused on both sides", false,
         bytes({kIac, kDo, 24, kIac, kWill, 31}), "", bytes({kIac, kWont, 24, kIac, kDont, 31}),
         false, false},
        {"data around commands, NOP and a sub-negotiation", true,
         bytes({'0', kIac, 241, '1', kIac, kSb, 44, 107, 0x30, kIac, kSe, ';', 0xFF, 0xFF, 0x0D}),
         bytes({'0', '1', ';', 0xFF, 0x0D}), "", false, false},
        {"a sub-negotiation cut short by a command", false,
         bytes({kIac, kSb, 44, 107, 0x30, kIac, kWill, 1, 'A', kIac, kSb, 44, kIac, kIac, 'B'}),
         bytes({'A'}), bytes({kIac, kDont, 1}), false, false},
        {"an IAC before a byte that is no command is data, both bytes", false,
         bytes({0x0A, kIac, 'E', '0', ';', kIac, 0xEF, 0x0D}),
         bytes({0x0A, 0xFF, 'E', '0', ';', 0xFF, 0xEF, 0x0D}), "", false, false},
        {"the same inside a sub-negotiation stays in it", false,
         bytes({kIac, kSb, 44, 107, kIac, 0x30, kIac, kSe, 'A'}), bytes({'A'}), "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stream stream;
        stream.opening(c.comPort);
        QByteArray data;
        for (const char byte : c.received) stream.receive(QByteArrayView(&byte, 1), data);
        EXPECT_EQ(data.toHex(' '), c.data.toHex(' '));
        EXPECT_EQ(stream.takeReplies().toHex(' '), c.replies.toHex(' '));
        EXPECT_EQ(stream.localEnabled(kComPort), c.comPortEnabled);
        EXPECT_EQ(stream.localRefused(kComPort), c.comPortRefused);
    }
}

TEST(TelnetStream, ComPortCommandsAndAnswersCarryTheirValuesEscaped) {
    using namespace telnet;
    // 65535 baud has an IAC in its value: doubled on the way out, one byte
    // again in the answer.
    const QByteArray value = bytes({0x00, 0x00, 0xFF, 0xFF});
    EXPECT_EQ(comPortCommand(kSetBaudRate, value).toHex(' '),
              bytes({kIac, kSb, 44, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, kIac, kSe}).toHex(' '));
    EXPECT_EQ(comPortCommand(kSetControl, bytes({8})).toHex(' '),
              bytes({kIac, kSb, 44, 5, 8, kIac, kSe}).toHex(' '));

    Stream stream;
    QByteArray data;
    QByteArray answer = comPortCommand(kSetBaudRate + kServerOffset, value);
    answer += comPortCommand(kSetParity + kServerOffset, bytes({1}));
    for (const char byte : answer) stream.receive(QByteArrayView(&byte, 1), data);
    EXPECT_TRUE(data.isEmpty());
    const QList<Subnegotiation> expected = {{44, bytes({101, 0, 0, 0xFF, 0xFF})},
                                            {44, bytes({103, 1})}};
    EXPECT_EQ(stream.takeSubnegotiations(), expected);
    EXPECT_TRUE(stream.takeSubnegotiations().isEmpty());
}

TEST(TelnetStream, TheOpeningLeavesOutWhatTheServerHasAlreadyAgreed) {
    using namespace telnet;
    Stream stream;
    QByteArray data;
    stream.receive(bytes({kIac, kDo, kComPort, kIac, kDo, kBinary}), data);
    EXPECT_EQ(stream.takeReplies().toHex(' '),
              bytes({kIac, kWill, kComPort, kIac, kWill, kBinary}).toHex(' '));
    EXPECT_EQ(stream.opening(true).toHex(' '), bytes({kIac, kDo, kBinary}).toHex(' '));
    EXPECT_TRUE(stream.opening(true).isEmpty());
}
