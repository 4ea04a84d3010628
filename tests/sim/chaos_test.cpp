#include "sim/chaos.h"

#include <gtest/gtest.h>

#include "sim/simulated_line.h"

namespace tabulon::sim {
namespace {

using namespace std::chrono_literals;

ChaosRates none() {
    return ChaosRates{0, 0, 0, 0, 0, 0, 0, 0, 0};
}

QByteArray joined(const QList<Chaos::Piece>& pieces) {
    QByteArray bytes;
    for (const Chaos::Piece& piece : pieces) bytes += piece.bytes;
    return bytes;
}

const QByteArray kAnswer = "\n01;NEON;\r\x12\x34\x06\n0;1;1;Хліб;0.00;\r\xAB\xCD";

TEST(Chaos, TheSameSeedGivesTheSameFaults) {
    Chaos first(77), second(77), other(78);
    QList<QByteArray> a, b, c;
    for (int i = 0; i < 200; ++i) {
        const auto now = std::chrono::milliseconds(i * 100);
        a << first.heard(kAnswer, now) << joined(first.spoken(kAnswer, now));
        b << second.heard(kAnswer, now) << joined(second.spoken(kAnswer, now));
        c << other.heard(kAnswer, now) << joined(other.spoken(kAnswer, now));
    }
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(first.seed(), 77U);
    EXPECT_GT(first.counts().garbled + first.counts().dropped, 0);
}

TEST(Chaos, WithoutFaultsTheLineIsClean) {
    Chaos chaos(1, none());
    EXPECT_EQ(chaos.heard(kAnswer, 0ms), kAnswer);
    const QList<Chaos::Piece> pieces = chaos.spoken(kAnswer, 0ms);
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0].pause, 0ms);
    EXPECT_EQ(pieces[0].bytes, kAnswer);
    EXPECT_TRUE(chaos.spoken("", 0ms).isEmpty());
    EXPECT_EQ(chaos.counts().answers, 1);
}

TEST(Chaos, EachByteFault) {
    ChaosRates rates = none();
    rates.drop = 1000;
    EXPECT_TRUE(Chaos(1, rates).spoken(kAnswer, 0ms).isEmpty());

    rates = none();
    rates.duplicate = 1000;
    QByteArray doubled;
    for (char c : kAnswer) doubled += QByteArray(2, c);
    EXPECT_EQ(joined(Chaos(1, rates).spoken(kAnswer, 0ms)), doubled);

    rates = none();
    rates.garble = 1000;
    const QByteArray garbled = joined(Chaos(1, rates).spoken(kAnswer, 0ms));
    ASSERT_EQ(garbled.size(), kAnswer.size());
    for (qsizetype i = 0; i < kAnswer.size(); ++i) EXPECT_NE(garbled[i], kAnswer[i]);

    rates = none();
    rates.insert = 1000;
    const QByteArray stray = joined(Chaos(1, rates).spoken(kAnswer, 0ms));
    ASSERT_EQ(stray.size(), 2 * kAnswer.size());
    for (qsizetype i = 0; i < kAnswer.size(); ++i) EXPECT_EQ(stray[2 * i], kAnswer[i]);

    rates = none();
    rates.mishear = 1000;
    Chaos deafish(1, rates);
    const QByteArray heard = deafish.heard(kAnswer, 0ms);
    for (qsizetype i = 0; i < kAnswer.size(); ++i) EXPECT_NE(heard[i], kAnswer[i]);
    EXPECT_EQ(deafish.counts().misheard, kAnswer.size());
}

TEST(Chaos, LateSilentMidLineAndDeafSpells) {
    ChaosRates rates = none();
    rates.late = 1000;
    const QList<Chaos::Piece> late = Chaos(5, rates).spoken(kAnswer, 0ms);
    ASSERT_EQ(late.size(), 1);
    EXPECT_GE(late[0].pause, 350ms);
    EXPECT_LE(late[0].pause, Chaos::kLongestPause);
    EXPECT_EQ(late[0].bytes, kAnswer);

    rates = none();
    rates.silentMidLine = 1000;
    const QList<Chaos::Piece> halves = Chaos(5, rates).spoken(kAnswer, 0ms);
    ASSERT_EQ(halves.size(), 2);
    EXPECT_EQ(halves[0].pause, 0ms);
    EXPECT_GE(halves[1].pause, 350ms);
    EXPECT_FALSE(halves[0].bytes.isEmpty());
    EXPECT_EQ(halves[0].bytes + halves[1].bytes, kAnswer);

    rates = none();
    rates.deafSpell = 1000;
    Chaos deaf(5, rates);
    const QByteArray cut = joined(deaf.spoken(kAnswer, 10s));
    EXPECT_TRUE(kAnswer.startsWith(cut));
    EXPECT_LT(cut.size(), kAnswer.size());
    // Silent for at least a second: it neither hears nor answers.
    EXPECT_EQ(deaf.heard("\x11\x11"
                         "01",
                         10s + 999ms),
              "");
    EXPECT_TRUE(deaf.spoken(kAnswer, 10s + 999ms).isEmpty());
    EXPECT_EQ(deaf.counts().unheard, 4);
    // And back after the longest spell.
    EXPECT_EQ(deaf.heard("\x11\x11"
                         "01",
                         10s + Chaos::kLongestDeafSpell),
              "\x11\x11"
              "01");
}

// Answers whatever it hears with a fixed text.
class Echo : public LineDevice {
public:
    QByteArray receive(QByteArrayView bytes) override {
        heard += bytes;
        return "ABC";
    }
    QByteArray heard;
};

TEST(Chaos, OnTheSimulatedLineAnswersArriveAfterTheirPauses) {
    ChaosRates rates = none();
    rates.late = 1000;
    auto clock = std::make_shared<link::VirtualClock>();
    SimulatedLine line(clock);
    auto echo = std::make_shared<Echo>();
    line.attach(echo);
    line.setChaos(std::make_shared<Chaos>(9, rates));
    const auto pause = Chaos(9, rates).spoken("ABC", 0ms)[0].pause;

    QString error;
    ASSERT_TRUE(line.open("sim", error));
    line.write("?");
    EXPECT_EQ(echo->heard, "?");
    // Not there yet: the input holds nothing to drop.
    line.discardInput();
    int timeouts = 0;
    std::optional<std::uint8_t> byte;
    while (!(byte = line.readByte())) ++timeouts;
    EXPECT_EQ(timeouts, int((pause - 1ns) / 300ms));
    EXPECT_EQ(*byte, 'A');
    EXPECT_EQ(clock->now(), pause);
    EXPECT_EQ(line.readByte(), 'B');
    // What has arrived and is not read yet is dropped.
    line.discardInput();
    EXPECT_FALSE(line.readByte());
    EXPECT_EQ(line.timeouts(), timeouts + 1);
    EXPECT_EQ(line.received(), "AB");

    // A second answer queues behind one still on its way.
    line.write("1");
    line.write("2");
    QByteArray got;
    while (got.size() < 6) {
        if (auto next = line.readByte()) got += char(*next);
    }
    EXPECT_EQ(got, "ABCABC");
    line.close();
    EXPECT_FALSE(line.readByte());
}

}  // namespace
}  // namespace tabulon::sim
