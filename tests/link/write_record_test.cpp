#include "link_fixture.h"
#include "sim/tables.h"

using namespace tabulon;
using sim::Fault;

namespace {

const QByteArray kData = sim::cp1251(QStringLiteral("12;Іван;1;0;"));
const QByteArray kCommand = "W3;5;" + kData;

QByteArray attempt() {
    return kSelect01 + kLineAck + framed(kCommand);
}
QByteArray exchange() {
    return attempt() + kLineAck;
}

}  // namespace

TEST_F(LinkTest, WriteOfOneRecord) {
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), kCommand.size() + 4);
    EXPECT_WIRE(sent(), kFill11 + exchange() + kRelease1015);
    EXPECT_EQ(sim.ecr->commands(), QList<QByteArray>{kCommand});
    EXPECT_EQ(link().statusText(), "3;5;");

    QByteArray stored;
    sim.ecr->tables().read(3, 5, stored);
    EXPECT_EQ(stored, sim::cp1251(QStringLiteral("12;Іван;1;")));
}

TEST_F(LinkTest, TenErrorRepliesToAWrite) {
    faults().errorReplies = Fault::always();
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -15);
    EXPECT_WIRE(sent(), kFill11 + exchange().repeated(10) + kRelease1015 + kRelease88);
}

TEST_F(LinkTest, TenRefusalsOfAWriteFrame) {
    faults().refuseFrames = Fault::always();
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -12);
    EXPECT_WIRE(sent(), kFill11 + attempt().repeated(10) + kRelease1015);
    EXPECT_EQ(sim.line->timeouts(), 0);
}

TEST_F(LinkTest, RefusalsAndErrorRepliesShareTheTenAttempts) {
    faults().refuseFrames = Fault::times(2);
    faults().errorReplies = Fault::times(3);
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), kCommand.size() + 4);
    EXPECT_WIRE(sent(), kFill11 + attempt().repeated(2) + exchange().repeated(4) + kRelease1015);
}

TEST_F(LinkTest, TheLastAttemptDecidesTheResult) {
    // Nine "E" replies, then a refusal: refused, so no (8, 8) after (10, 15).
    faults().errorReplies = Fault::times(9);
    sim.ecr->scriptReplies([this](QByteArrayView) -> std::optional<QByteArray> {
        if (sim.ecr->commands().size() == 9) faults().refuseFrames = Fault::always();
        return std::nullopt;
    });
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -12);
    EXPECT_WIRE(sent(), kFill11 + exchange().repeated(9) + attempt() + kRelease1015);
}

TEST_F(LinkTest, WriteReplyIsTakenWhateverItsCheckBytes) {
    faults().wrongCheckBytes = Fault::always();
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), kCommand.size() + 4);
    EXPECT_WIRE(sent(), kFill11 + exchange() + kRelease1015);
}

TEST_F(LinkTest, FillBytesInsideAWriteReplyAreDropped) {
    faults().fillInsideLines = Fault::always();
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), kCommand.size() + 4);
    EXPECT_EQ(link().statusText(), "3;5;");
    EXPECT_TRUE(sim.line->received().contains('\xFF'));
}

TEST_F(LinkTest, FillBytesAheadOfAnErrorMarkDoNotHideIt) {
    faults().fillInsideLines = Fault::always();
    sim.ecr->scriptReplies([](QByteArrayView) { return QByteArray("E2;"); });
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -15);
}

TEST_F(LinkTest, FrameThatIsNeverAnswered) {
    sim.line->detachAll();
    sim.line->attach(std::make_shared<FrameSwallower>(sim.ecr));
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -12);
    EXPECT_WIRE(sent(), kFill11 + attempt() + kRelease88);
}

TEST_F(LinkTest, WriteReplyCutShort) {
    faults().cutShortLines = Fault::times(1);
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -12);
    EXPECT_WIRE(sent(), kFill11 + attempt() + kRelease88);
}

TEST_F(LinkTest, OverLongWriteReplyIsRefusedAndTheLineStaysUsable) {
    faults().overLongReplies = Fault::times(1);
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), -12);
    EXPECT_WIRE(sent(), kFill11 + attempt() + kRelease88);
    EXPECT_EQ(sim.line->timeouts(), 0);
    EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), kCommand.size() + 4);
}

TEST_F(LinkTest, WriteCommandOfAtMostOneHundredNinetySixBytes) {
    const QByteArray longest = QByteArray(196 - 5 - 1, 'x') + ';';  // "W0;1;" and the data
    EXPECT_EQ(link().WriteRecord(1, 0, 1, longest), 200);
    EXPECT_EQ(sim.ecr->commands().back(), "W0;1;" + longest);

    sim.line->clearTranscript();
    EXPECT_EQ(link().WriteRecord(1, 0, 1, 'x' + longest), -12);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(sim.priority->raises(), 1);
}

TEST_F(LinkTest, WriteDataEndsAtItsFirstNul) {
    const QByteArray data("1;\0ignored;", 11);
    EXPECT_EQ(link().WriteRecord(1, 10, 1, data), 12);
    EXPECT_EQ(sim.ecr->commands().back(), "W10;1;1;");
}
