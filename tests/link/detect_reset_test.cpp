#include "link/connect_register.h"
#include "link_fixture.h"

using namespace tabulon;
using namespace std::chrono_literals;
using sim::Fault;

namespace {

const QByteArray kPoll01 = wire("FF*10 11 11 30 31");

}  // namespace

TEST_F(LinkTest, ResetLinkWithThePortClosedSendsNothing) {
    ASSERT_EQ(link().ClosePort(1), 1);
    sim.line->clearTranscript();
    EXPECT_EQ(link().ResetLink(), -1);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(elapsed().count(), 0);
}

TEST_F(LinkTest, ResetLinkReleasesAndPausesMoreThanASecond) {
    EXPECT_EQ(link().ResetLink(), 1);
    EXPECT_WIRE(sent(), kRelease88);
    EXPECT_GE(elapsed(), 1001ms);
    EXPECT_LT(elapsed(), 1100ms);
}

TEST_F(LinkTest, DetectionOnASilentLine) {
    sim.line->detachAll();
    EXPECT_EQ(link().DetectRegister(1), -3);
    EXPECT_WIRE(sent(), kRelease88 + wire("FF*5") + kPoll01.repeated(16) + kRelease88);
    EXPECT_EQ(sim.line->timeouts(), 16);
    EXPECT_GE(elapsed(), 2 * 1001ms + 16 * 300ms);
}

TEST_F(LinkTest, DetectionOfTheRegister) {
    EXPECT_EQ(link().DetectRegister(1), 1);
    EXPECT_WIRE(sent(), kRelease88 + wire("FF*5") + kPoll01 + kLineAck + kRelease88);
    EXPECT_EQ(link().statusText(), "01;NEON;");
}

TEST_F(LinkTest, DetectionPollsUntilTheRegisterAnswers) {
    faults().silent = Fault::times(3);
    EXPECT_EQ(link().DetectRegister(1), 1);
    EXPECT_WIRE(sent(), kRelease88 + wire("FF*5") + kPoll01.repeated(4) + kLineAck + kRelease88);
}

TEST_F(LinkTest, DetectionFindsOnlyTheNumberThatAnswers) {
    sim.ecr->answerOnlyTo(2);
    EXPECT_EQ(link().DetectRegister(1), -3);
    EXPECT_EQ(link().DetectRegister(2), 1);
    EXPECT_EQ(link().address(), "02");
}

TEST_F(LinkTest, DetectionWithThePortClosed) {
    link().ClosePort(1);
    sim.line->clearTranscript();
    EXPECT_EQ(link().DetectRegister(1), -1);
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(LinkTest, StatusLineNotStartingWithLineStartIsNoAnswer) {
    // A stray byte ahead of the register's first status line: that attempt
    // fails on it, and the next one reads the line that followed.
    class Stray : public sim::LineDevice {
    public:
        explicit Stray(std::shared_ptr<sim::LineDevice> inner) : inner_(std::move(inner)) {}
        QByteArray receive(QByteArrayView bytes) override {
            QByteArray answer = inner_->receive(bytes);
            if (!answer.isEmpty() && first_) {
                first_ = false;
                answer.prepend('\x42');
            }
            return answer;
        }

    private:
        std::shared_ptr<sim::LineDevice> inner_;
        bool first_ = true;
    };
    sim.line->detachAll();
    sim.line->attach(std::make_shared<Stray>(sim.ecr));
    EXPECT_EQ(link().SelectRegister(), 0);
    EXPECT_WIRE(sent(), kSelect01 + kSelect01 + kLineAck);
}

namespace {

// A clock whose sleeps end early, as a real sleep may.
class EarlyWakingClock : public link::Clock {
public:
    Duration now() const override { return now_; }
    void sleepFor(Duration duration) override { now_ += duration / 3 + 1ns; }

private:
    Duration now_{0};
};

}  // namespace

TEST(ResetPause, LastsMoreThanASecondEvenWhenSleepsEndEarly) {
    auto clock = std::make_shared<EarlyWakingClock>();
    auto simulated = sim::makeSimulatedLink();
    link::RegisterLink::Parts parts;
    parts.port = std::make_unique<sim::SimulatedPort>(simulated.line);
    parts.clock = clock;
    parts.priority = std::make_shared<link::CountingPriority>();
    link::RegisterLink link(std::move(parts));
    ASSERT_EQ(link.OpenPort(1, 9600), 1);
    EXPECT_EQ(link.ResetLink(), 1);
    EXPECT_GT(clock->now(), 1000ms);
}

// A window that closes while it connects to a silent line must not hold the
// program for the seconds detection takes.
TEST_F(LinkTest, AClosingProgramStopsWaitingOnASilentLine) {
    std::atomic<bool> closing{false};
    link().stopWaitingWhen(&closing);
    faults().silent = sim::Fault::always();
    EXPECT_EQ(link().DetectRegister(1), -3);
    EXPECT_GE(elapsed(), 2 * 1001ms + 16 * 300ms);  // nothing changes until then

    sim.line->clearTranscript();
    const auto before = elapsed();
    closing = true;
    EXPECT_EQ(link().DetectRegister(1), -3);
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -1);
    EXPECT_EQ(elapsed(), before);
}

// Connecting tells that the port is open before detection sends its first
// byte, and not at all when the port does not open.
TEST(ConnectToRegister, TellsTheOpenPortBeforeDetectionAndOnlyThen) {
    auto sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.line->failOpen(QStringLiteral("Permission denied"));
    int told = 0;
    link::ConnectOutcome outcome = link::connectToRegister(*sim.link, 1, 9600, 1, [&] { ++told; });
    EXPECT_EQ(outcome.opened, -3);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(told, 0);

    sim.line->failOpen(std::nullopt);
    QByteArray sentWhenTold = "not told";
    outcome = link::connectToRegister(*sim.link, 1, 9600, 1,
                                      [&] { sentWhenTold = sim.line->sent(); });
    EXPECT_EQ(outcome.opened, 1);
    EXPECT_TRUE(outcome.found);
    EXPECT_TRUE(sentWhenTold.isEmpty());
    EXPECT_FALSE(sim.line->sent().isEmpty());
}
