#include <gtest/gtest.h>

#include "sim/sim_options.h"

using namespace tabulon::sim;

TEST(SimOptions, ModelRegisterAndFaults) {
    const auto parsed =
        parseSimOptions({"--model", "MP-50-junior", "--register=7", "--refuse-frames=3",
                         "--wrong-check-bytes", "--device", "/dev/ttyUSB1", "--speed", "57700"});
    ASSERT_TRUE(parsed.options) << qPrintable(parsed.error);
    SimOptions options = *parsed.options;
    EXPECT_EQ(options.model, Model::DatecsMp50Junior);
    EXPECT_EQ(options.onlyRegister, 7);
    EXPECT_EQ(options.device, "/dev/ttyUSB1");
    EXPECT_EQ(options.speed, 57700);
    EXPECT_FALSE(options.faults.silent.isOn());
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(options.faults.refuseFrames.fire());
    EXPECT_FALSE(options.faults.refuseFrames.fire());
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(options.faults.wrongCheckBytes.fire());

    const auto defaults = parseSimOptions({});
    ASSERT_TRUE(defaults.options);
    EXPECT_EQ(defaults.options->model, Model::Neon);
    EXPECT_FALSE(defaults.options->onlyRegister);
    EXPECT_TRUE(defaults.options->device.isEmpty());
    EXPECT_FALSE(defaults.options->chaosSeed);
    EXPECT_EQ(parseSimOptions({"--register", "+7", "--silent= 2"}).options->onlyRegister, 7);
}

TEST(SimOptions, ChaosSeed) {
    const auto parsed = parseSimOptions({"--chaos", "18446744073709551615", "--silent=2"});
    ASSERT_TRUE(parsed.options) << qPrintable(parsed.error);
    EXPECT_EQ(parsed.options->chaosSeed, 18446744073709551615ULL);
    EXPECT_TRUE(parsed.options->faults.silent.isOn());
    EXPECT_EQ(parseSimOptions({"--chaos=0"}).options->chaosSeed, 0U);
}

// Each line served: the addresses as given, --count's from its port on, or
// all from port 0 for the system to pick.
TEST(SimOptions, ListenLines) {
    using tabulon::link::NetworkAddress;
    using K = NetworkAddress::Kind;
    const struct {
        QStringList arguments;
        QList<NetworkAddress> lines;
    } rows[] = {
        {{"--listen", "tcp://127.0.0.1:4001", "--listen=rfc2217://[::1]:0"},
         {{K::RawTcp, "127.0.0.1", 4001}, {K::Rfc2217, "::1", 0}}},
        {{"--count", "3", "--listen", "rfc2217://box:65533"},
         {{K::Rfc2217, "box", 65533}, {K::Rfc2217, "box", 65534}, {K::Rfc2217, "box", 65535}}},
        {{"--listen", "tcp://box:0", "--count=2"}, {{K::RawTcp, "box", 0}, {K::RawTcp, "box", 0}}},
        {{}, {}},
    };
    for (const auto& row : rows) {
        const auto parsed = parseSimOptions(row.arguments);
        ASSERT_TRUE(parsed.options) << qPrintable(parsed.error);
        EXPECT_EQ(parsed.options->listen, row.lines) << qPrintable(row.arguments.join(' '));
    }
}

TEST(SimOptions, Mistakes) {
    const QString kListenTakes =
        "--listen takes tcp://HOST:PORT or rfc2217://HOST:PORT, the port 0 to 65535";
    const struct {
        QStringList arguments;
        QString error;
    } rows[] = {
        {{"--model", "mp-60"}, "unknown model: mp-60"},
        {{"--model"}, "unknown model: "},
        {{"--register", "0"}, "register number must be 1 to 99"},
        {{"--register", "100"}, "register number must be 1 to 99"},
        {{"--silent=0"}, "--silent takes a count of 1 or more"},
        {{"--silent="}, "--silent takes a count of 1 or more"},
        {{"--speed", "fast"}, "--speed needs a speed in baud"},
        {{"--chaos"}, "--chaos needs a seed (a whole number)"},
        {{"--chaos", "-1"}, "--chaos needs a seed (a whole number)"},
        {{"--loud=3"}, "unknown option: --loud"},
        {{"-x"}, "unknown option: -x"},
        {{"neon"}, "unknown option: neon"},
        {{"--log=1"}, "--log takes no value"},
        {{"--help", "--loud"}, "unknown option: --loud"},
        {{"-log"}, "unknown option: -log"},
        {{"--model", "-log"}, "unknown model: -log"},
        {{"--register", "0", "--register", "5"}, "register number must be 1 to 99"},
        {{"--silent=x", "--silent"}, "--silent takes a count of 1 or more"},
        {{"--listen", "tcp://box"}, kListenTakes},
        {{"--listen", "/dev/pts/3"}, kListenTakes},
        {{"--listen", "tcp://box:65536"}, kListenTakes},
        {{"--count", "2"}, "--count goes with one --listen"},
        {{"--listen", "tcp://a:1", "--listen", "tcp://b:1", "--count", "2"},
         "--count goes with one --listen"},
        {{"--listen", "tcp://a:65535", "--count", "2"}, "--count goes past port 65535"},
        {{"--listen", "tcp://a:0", "--count", "0"}, "--count needs a number of lines, 1 to 65535"},
        {{"--listen", "tcp://a:1", "--device", "/dev/ttyS0"},
         "--listen and --device do not go together"},
    };
    for (const auto& row : rows) {
        const auto parsed = parseSimOptions(row.arguments);
        EXPECT_FALSE(parsed.options) << qPrintable(row.arguments.join(' '));
        EXPECT_EQ(parsed.error, row.error) << qPrintable(row.arguments.join(' '));
    }
}
