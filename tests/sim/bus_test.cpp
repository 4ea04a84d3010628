// Several simulated registers on one line: each answers its own number only,
// keeps its own tables, and the journal tells who did what in line order.
#include <gtest/gtest.h>

#include "link/frame.h"
#include "sim/sim_options.h"
#include "sim/simulated_bus.h"

using namespace tabulon;
using namespace tabulon::sim;

namespace {

const QByteArray kFill(10, '\xFF');

QByteArray selectOf(const char* address) {
    return kFill + "\x11\x11" + address + kFill;
}
QByteArray frame(const QByteArray& text) {
    return kFill + link::BuildFrame(text);
}
QByteArray release() {
    return "\xFF\xFF\x13\x13\xFF\xFF";
}

}  // namespace

TEST(SimulatedBus, EachRegisterAnswersItsNumberAndKeepsItsOwnTables) {
    SimulatedBus bus(Model::DatecsMp550T, {1, 2});
    QStringList journal;
    for (int i = 0; i < bus.size(); ++i) bus.at(i).setJournal(&journal);

    QByteArray firstBefore;
    ASSERT_EQ(bus.at(0).tables().read(10, 1, firstBefore), Refusal::None);
    ASSERT_FALSE(firstBefore.startsWith("Store 9;"));

    // Both exchanges in one go, as a pseudo-terminal may hand them over; 03
    // is nobody's number.
    const QByteArray answer =
        bus.receive(selectOf("02") + frame("W10;1;Store 9;") + release() + selectOf("01") +
                    frame("R10;1;") + release() + selectOf("03"));
    EXPECT_EQ(answer, link::BuildFrame("02;MP-550T;") + "\x06" + link::BuildFrame("10;1;") +
                          link::BuildFrame("01;MP-550T;") + "\x06" +
                          link::BuildFrame("10;1;" + firstBefore));
    QByteArray second;
    ASSERT_EQ(bus.at(1).tables().read(10, 1, second), Refusal::None);
    EXPECT_EQ(second, "Store 9;");
    QByteArray first;
    bus.at(0).tables().read(10, 1, first);
    EXPECT_EQ(first, firstBefore);
    EXPECT_EQ(journal, (QStringList{"selected: 02", "command: W10;1;Store 9;", "selected: 01",
                                    "command: R10;1;"}));
}

TEST(SimOptions, BusNumbers) {
    const auto parsed = parseSimOptions({"--bus", "1,2,5"});
    ASSERT_TRUE(parsed.options) << qPrintable(parsed.error);
    EXPECT_EQ(parsed.options->bus, (QList<int>{1, 2, 5}));
    EXPECT_FALSE(parsed.options->onlyRegister);
    const struct {
        QStringList arguments;
        QString error;
    } mistakes[] = {
        {{"--bus", "1,1"},
         "--bus takes different register numbers from 1 to 99, separated by commas"},
        {{"--bus", "0,2"},
         "--bus takes different register numbers from 1 to 99, separated by commas"},
        {{"--bus", "1,,2"},
         "--bus takes different register numbers from 1 to 99, separated by commas"},
        {{"--bus=100"}, "--bus takes different register numbers from 1 to 99, separated by commas"},
        {{"--bus", "1,2", "--register", "1"}, "--register and --bus do not go together"},
    };
    for (const auto& mistake : mistakes) {
        const auto wrong = parseSimOptions(mistake.arguments);
        EXPECT_FALSE(wrong.options) << qPrintable(mistake.arguments.join(' '));
        EXPECT_EQ(wrong.error, mistake.error) << qPrintable(mistake.arguments.join(' '));
    }
}
