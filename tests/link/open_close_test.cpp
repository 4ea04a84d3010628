#include "link_fixture.h"

using namespace tabulon;

namespace {

class PortTest : public ::testing::Test {
protected:
    link::RegisterLink& link() { return *sim.link; }
    sim::SimulatedLink sim = sim::makeSimulatedLink();
};

}  // namespace

TEST_F(PortTest, SpeedFiftySevenSevenHundredOpensAndFiftySevenSixHundredDoesNot) {
    EXPECT_EQ(link().OpenPort(1, 57600), -2);
    EXPECT_FALSE(sim.line->isOpen());
    EXPECT_FALSE(link().isOpen());

    EXPECT_EQ(link().OpenPort(1, 57700), 1);
    EXPECT_TRUE(link().isOpen());
    EXPECT_EQ(link().openPort(), 1);
    EXPECT_EQ(sim.line->device(), "COM1");
    EXPECT_EQ(sim.line->settings(), (link::LineSettings{57700, 8, 'N', 2, true}));
    EXPECT_TRUE(sim.line->sent().isEmpty());
}

TEST_F(PortTest, PortNumberOutsideOneToNine) {
    EXPECT_EQ(link().OpenPort(0, 9600), -1);
    EXPECT_EQ(link().OpenPort(10, 9600), -1);
    EXPECT_FALSE(sim.line->isOpen());
    EXPECT_EQ(link().openErrorText(), "port number outside 1 to 9");
}

TEST_F(PortTest, DevicesComeFromTheResolver) {
    auto mapped = sim::makeSimulatedLink(sim::Model::Neon, [](int port) {
        return port == 3 ? QStringLiteral("/dev/ttyUSB0") : QStringLiteral("COM%1").arg(port);
    });
    EXPECT_EQ(mapped.link->OpenPort(3, 9600), 1);
    EXPECT_EQ(mapped.line->device(), "/dev/ttyUSB0");
    EXPECT_EQ(mapped.link->openDevice(), "/dev/ttyUSB0");
    EXPECT_EQ(mapped.link->ClosePort(3), 1);
    EXPECT_EQ(mapped.link->OpenPort(9, 9600), 1);
    EXPECT_EQ(mapped.line->device(), "COM9");
}

TEST_F(PortTest, DeviceThatDoesNotOpen) {
    sim.line->failOpen(QStringLiteral("Device or resource busy"));
    EXPECT_EQ(link().OpenPort(2, 9600), -3);
    EXPECT_FALSE(link().isOpen());
    EXPECT_EQ(link().openPort(), -1);
    EXPECT_EQ(link().openErrorText(), "Device or resource busy");
    // What a failure names to the user: the device that did not open.
    EXPECT_EQ(link().openDevice(), "COM2");
    EXPECT_EQ(link().ResetLink(), -1);
}

TEST_F(PortTest, PortHeldByAnotherLinkDoesNotOpen) {
    EXPECT_EQ(link().OpenPort(1, 9600), 1);
    link::RegisterLink::Parts parts;
    parts.port = std::make_unique<sim::SimulatedPort>(sim.line);
    link::RegisterLink other(std::move(parts));
    EXPECT_EQ(other.OpenPort(1, 9600), -3);
    EXPECT_TRUE(link().isOpen());
}

TEST_F(PortTest, SettingsThatDoNotApplyCloseTheDeviceAgain) {
    sim.line->failSettings(QStringLiteral("Invalid argument"));
    EXPECT_EQ(link().OpenPort(1, 9600), -5);
    EXPECT_FALSE(sim.line->isOpen());
    EXPECT_EQ(sim.line->closes(), 1);
    EXPECT_EQ(link().openErrorText(), "Invalid argument");
    EXPECT_EQ(link().ClosePort(1), -1);
}

TEST_F(PortTest, ClosingAnotherPortSendsNothingAndKeepsThePortOpen) {
    ASSERT_EQ(link().OpenPort(1, 9600), 1);
    EXPECT_EQ(link().ClosePort(2), -1);
    EXPECT_TRUE(sim.line->sent().isEmpty());
    EXPECT_TRUE(sim.line->isOpen());
    EXPECT_EQ(link().openPort(), 1);
}

TEST_F(PortTest, ClosingPutsTheReleaseSequenceOnTheLineFirst) {
    ASSERT_EQ(link().OpenPort(1, 9600), 1);
    EXPECT_EQ(link().ClosePort(1), 1);
    EXPECT_WIRE(sim.line->sent(), wire("FF*8 13 13 FF*8"));
    EXPECT_FALSE(sim.line->isOpen());
    EXPECT_FALSE(link().isOpen());
    EXPECT_EQ(link().openPort(), -1);

    EXPECT_EQ(link().ClosePort(1), -1);
    EXPECT_EQ(link().ClosePort(-1), -1);
    EXPECT_EQ(sim.line->sent().size(), 18);
}

TEST_F(PortTest, OpeningOverAnOpenPortLetsTheFirstGo) {
    ASSERT_EQ(link().OpenPort(1, 9600), 1);
    EXPECT_EQ(link().OpenPort(2, 19200), 1);
    EXPECT_EQ(sim.line->closes(), 1);
    EXPECT_EQ(link().openPort(), 2);
    EXPECT_EQ(sim.line->device(), "COM2");
    EXPECT_EQ(link().ClosePort(1), -1);
    EXPECT_EQ(link().ClosePort(2), 1);
}

TEST_F(PortTest, RefusedSpeedOrNumberLeavesAnOpenPortAlone) {
    ASSERT_EQ(link().OpenPort(1, 9600), 1);
    EXPECT_EQ(link().OpenPort(1, 57600), -2);
    EXPECT_EQ(link().OpenPort(0, 9600), -1);
    EXPECT_TRUE(link().isOpen());
    EXPECT_EQ(sim.line->closes(), 0);
}
