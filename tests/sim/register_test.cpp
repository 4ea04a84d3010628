#include <gtest/gtest.h>

#include "link/frame.h"
#include "sim/sim_register.h"

using namespace tabulon;
using namespace tabulon::sim;

namespace {

const QByteArray kFill(10, '\xFF');
const QByteArray kAck("\x06");
const QByteArray kNak("\x15");

QByteArray selectOf(const char* address) {
    return kFill + "\x11\x11" + address + kFill;
}
QByteArray release() {
    return "\xFF\xFF\x13\x13\xFF\xFF";
}
QByteArray frame(const QByteArray& text) {
    return kFill + link::BuildFrame(text);
}

bool intact(const QByteArray& line) {
    link::FrameChecksum sum;
    sum.add(QByteArrayView(line).sliced(1));
    return line.startsWith('\x0A') && sum.isZero();
}

}  // namespace

TEST(SimulatedRegister, AnswersASelectWithItsStatusLine) {
    SimulatedRegister neon(Model::Neon);
    EXPECT_EQ(neon.receive(selectOf("01")), link::BuildFrame("01;NEON;"));
    EXPECT_EQ(neon.receive(selectOf("42")), link::BuildFrame("42;NEON;"));
    EXPECT_TRUE(neon.isSelected());
    EXPECT_TRUE(neon.receive(selectOf("00")).isEmpty());
    EXPECT_FALSE(neon.isSelected());

    SimulatedRegister junior(Model::DatecsMp50Junior);
    junior.answerOnlyTo(3);
    EXPECT_TRUE(junior.receive(selectOf("01")).isEmpty());
    EXPECT_EQ(junior.receive(selectOf("03")), link::BuildFrame("03;MP-50;"));
    // Selecting another number deselects it.
    EXPECT_TRUE(junior.receive(selectOf("04") + frame("R3;1;")).isEmpty());
}

TEST(SimulatedRegister, TakesFramesOnlyWhileSelected) {
    SimulatedRegister ecr(Model::DatecsMp550T);
    EXPECT_TRUE(ecr.receive(frame("R3;1;")).isEmpty());
    ecr.receive(selectOf("01"));
    EXPECT_EQ(ecr.receive(frame("R3;1;")),
              kAck + link::BuildFrame("3;1;1;"
                                      "\xCE\xEF\xE5\xF0\xE0\xF2\xEE\xF0"
                                      "1;0;"));
    EXPECT_TRUE(ecr.receive(release() + frame("R3;1;")).isEmpty());
    EXPECT_EQ(ecr.commands(), QList<QByteArray>{"R3;1;"});
}

TEST(SimulatedRegister, RefusesADamagedFrame) {
    SimulatedRegister ecr(Model::Neon);
    ecr.receive(selectOf("01"));
    QByteArray damaged = frame("W10;1;x;");
    damaged[damaged.size() - 1] = char(damaged.back() ^ 0x40);
    EXPECT_EQ(ecr.receive(damaged), kNak);
    EXPECT_TRUE(ecr.commands().isEmpty());
}

TEST(SimulatedRegister, ByteByByteAsInOneGo) {
    const QByteArray traffic = selectOf("01") + frame("W10;2;" + cp1251(QStringLiteral("Склад;"))) +
                               frame("R10;2;") + release();
    SimulatedRegister whole(Model::Neon);
    SimulatedRegister trickled(Model::Neon);
    QByteArray answer;
    for (char c : traffic) answer += trickled.receive(QByteArrayView(&c, 1));
    EXPECT_EQ(answer, whole.receive(traffic));
    EXPECT_EQ(trickled.commands().size(), 2);
}

TEST(SimulatedRegister, RepliesWithLeadingFieldsOrAnErrorMark) {
    SimulatedRegister ecr(Model::Neon);
    EXPECT_EQ(ecr.execute("R10;3;"), "10;3;" + cp1251(QStringLiteral("Відділ 3;")));
    EXPECT_EQ(ecr.execute("W10;3;" + cp1251(QStringLiteral("Овочі;"))), "10;3;");
    EXPECT_EQ(ecr.execute("R10;3;"), "10;3;" + cp1251(QStringLiteral("Овочі;")));
    EXPECT_EQ(ecr.execute("R10;21;"), "E2;");
    EXPECT_EQ(ecr.execute("R11;1;"), "E1;");
    EXPECT_EQ(ecr.execute("W77;1;1;"), "E3;");
    for (const char* malformed : {"", "X1;1;", "R1;", "R;1;", "R1;1;x", "Ra;1;", "R-1;1;"}) {
        EXPECT_EQ(ecr.execute(malformed), "E4;") << malformed;
    }
}

TEST(SimulatedRegister, FaultsForGoodAndForACount) {
    SimulatedRegister ecr(Model::Neon);
    ecr.receive(selectOf("01"));
    const QByteArray read = frame("R10;1;");
    const QByteArray normal = ecr.receive(read);
    const QByteArray line = normal.mid(1);

    ecr.faults().refuseFrames = Fault::times(2);
    EXPECT_EQ(ecr.receive(read), kNak);
    EXPECT_EQ(ecr.receive(read), kNak);
    EXPECT_EQ(ecr.receive(read), normal);

    ecr.faults().errorReplies = Fault::times(1);
    EXPECT_EQ(ecr.receive(read), kAck + link::BuildFrame("E0;"));

    ecr.faults().wrongCheckBytes = Fault::times(1);
    const QByteArray damaged = ecr.receive(read).mid(1);
    EXPECT_EQ(damaged.size(), line.size());
    EXPECT_EQ(damaged.chopped(1), line.chopped(1));
    EXPECT_FALSE(intact(damaged));

    ecr.faults().cutShortLines = Fault::times(1);
    const QByteArray cut = ecr.receive(read).mid(1);
    EXPECT_TRUE(line.startsWith(cut));
    EXPECT_FALSE(cut.contains('\x0D'));

    ecr.faults().overLongReplies = Fault::times(1);
    const QByteArray longLine = ecr.receive(read).mid(1);
    EXPECT_EQ(longLine.size(), 300 + 4);
    EXPECT_TRUE(intact(longLine));

    ecr.faults().fillInsideLines = Fault::times(2);
    EXPECT_EQ(ecr.receive(selectOf("01")), link::BuildFrame("0\xFF"
                                                            "1;NEON;"));
    QByteArray text = "10;1;" + cp1251(QStringLiteral("Відділ 1;"));
    text.insert(text.size() / 2, '\xFF');
    text.insert(1, '\xFF');
    EXPECT_EQ(ecr.receive(read), kAck + link::BuildFrame(text));

    ecr.faults().silent = Fault::always();
    EXPECT_TRUE(ecr.receive(read).isEmpty());
    EXPECT_TRUE(ecr.receive(selectOf("01")).isEmpty());
    EXPECT_EQ(ecr.receive(read), QByteArray());
}

TEST(SimulatedRegister, KeepsWrittenRecordsAlteredWhileTheFaultLasts) {
    SimulatedRegister ecr(Model::DatecsMp550T);
    ecr.receive(selectOf("01"));
    ecr.faults().alterStored = Fault::times(2);
    // The write is taken and answered as usual; the register keeps it changed.
    EXPECT_EQ(ecr.receive(frame("R10;2;")).mid(1),
              link::BuildFrame("10;2;" + cp1251(QStringLiteral("Відділ 2;"))));
    EXPECT_EQ(ecr.receive(frame("W10;2;" + cp1251(QStringLiteral("Овочі;")))),
              kAck + link::BuildFrame("10;2;"));
    EXPECT_EQ(ecr.receive(frame("W0;5;;Tea;1.00;0.000;;;;;;0;")), kAck + link::BuildFrame("0;5;"));
    EXPECT_EQ(ecr.receive(frame("W10;3;Fish;")), kAck + link::BuildFrame("10;3;"));
    EXPECT_EQ(ecr.execute("R10;2;"), "10;2;#" + cp1251(QStringLiteral("вочі;")));
    EXPECT_EQ(ecr.execute("R0;5;"), "0;5;#;Tea;1.00;0.000;;;;;;0;");
    EXPECT_EQ(ecr.execute("R10;3;"), "10;3;Fish;");
    EXPECT_EQ(ecr.commands().at(1), "W10;2;" + cp1251(QStringLiteral("Овочі;")));
}
