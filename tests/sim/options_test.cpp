#include <gtest/gtest.h>

#include "sim/sim_options.h"

using namespace tabulon::sim;

TEST(SimOptions, ModelRegisterAndFaults) {
    const auto parsed =
        parseSimOptions({"--model", "mp-50-junior", "--register=7", "--refuse-frames=3",
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
}

TEST(SimOptions, ChaosSeed) {
    const auto parsed = parseSimOptions({"--chaos", "18446744073709551615", "--silent=2"});
    ASSERT_TRUE(parsed.options) << qPrintable(parsed.error);
    EXPECT_EQ(parsed.options->chaosSeed, 18446744073709551615ULL);
    EXPECT_TRUE(parsed.options->faults.silent.isOn());
    EXPECT_EQ(parseSimOptions({"--chaos=0"}).options->chaosSeed, 0U);
    for (const QStringList& arguments :
         {QStringList{"--chaos"}, QStringList{"--chaos", "-1"}, QStringList{"--chaos=x7"}}) {
        const auto wrong = parseSimOptions(arguments);
        EXPECT_FALSE(wrong.options) << qPrintable(arguments.join(' '));
        EXPECT_EQ(wrong.error, "--chaos needs a seed (a whole number)");
    }
    EXPECT_TRUE(simUsage().contains("--chaos SEED"));
}

TEST(SimOptions, Mistakes) {
    const QStringList mistakes[] = {{"--model", "mp-60"},  {"--model"},    {"--register", "0"},
                                    {"--register", "100"}, {"--silent=0"}, {"--silent=x"},
                                    {"--speed", "fast"},   {"--loud"},     {"neon"}};
    for (const QStringList& arguments : mistakes) {
        const auto parsed = parseSimOptions(arguments);
        EXPECT_FALSE(parsed.options) << qPrintable(arguments.join(' '));
        EXPECT_FALSE(parsed.error.isEmpty());
    }
}

TEST(SimOptions, ModelNamesInAnyLetterCaseAndWithBlanks) {
    const struct {
        const char* name;
        std::optional<Model> model;
    } rows[] = {
        {"Neon", Model::Neon},
        {" MP-550T ", Model::DatecsMp550T},
        {"Mp50", Model::DatecsMp50Junior},
        {"MP-50-JUNIOR", Model::DatecsMp50Junior},
        {"\t1", Model::DatecsMp50Junior},
        {"n eon", std::nullopt},
    };
    for (const auto& row : rows) {
        const auto parsed = parseSimOptions({"--model", row.name});
        EXPECT_EQ(parsed.options ? std::optional(parsed.options->model) : std::nullopt, row.model)
            << row.name;
        if (!row.model) {
            EXPECT_EQ(parsed.error, QString("unknown model: ") + row.name);
        }
    }
    EXPECT_EQ(modelName(Model::DatecsMp50Junior), "Datecs MP-50 Junior");
}
