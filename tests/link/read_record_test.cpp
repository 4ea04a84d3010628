#include "link_fixture.h"
#include "sim/tables.h"

using namespace tabulon;
using sim::Fault;

namespace {

const QByteArray kReadTable2 = framed("R2;1;");

QByteArray readExchange() {
    return kSelect01 + kLineAck + kReadTable2 + kLineAck;
}

}  // namespace

TEST_F(LinkTest, ReadOfTableTwoRecordOnePutsExactlyTheseBytesOnTheLine) {
    QByteArray reply;
    const int result = link().ReadRecord(1, 2, 1, reply);

    EXPECT_WIRE(sent(), wire("FF*11 | FF*10 11 11 30 31 FF*10 | FF*3 06 FF*3 | FF*11 |"
                             " 0A 52 32 3B 31 3B 0D 98 78 | FF*3 06 FF*3 | FF*5 13 13 FF*5"));
    EXPECT_EQ(reply, "2;1;1;0;1;50;1;0;0;1;4;0;1;0;");
    EXPECT_EQ(result, reply.size());
    EXPECT_EQ(elapsed().count(), 0);
}

TEST_F(LinkTest, RegisterNumberOutsideOneToNinetyNineSendsNothing) {
    QByteArray reply = "untouched";
    for (int number : {0, 100, -1}) {
        EXPECT_EQ(link().ReadRecord(number, 2, 1, reply), -2);
        EXPECT_EQ(link().WriteRecord(number, 2, 1, "1;"), -2);
        EXPECT_EQ(link().DetectRegister(number), -2);
    }
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(reply, "untouched");
    EXPECT_EQ(sim.priority->raises(), 0);
}

TEST_F(LinkTest, AddressIsTwoDigitsTensFirst) {
    QByteArray reply;
    link().ReadRecord(42, 2, 1, reply);
    EXPECT_TRUE(sent().startsWith(kFill11 + wire("FF*10 11 11 34 32 FF*10")));
    sim.line->clearTranscript();
    link().ReadRecord(7, 2, 1, reply);
    EXPECT_TRUE(sent().startsWith(kFill11 + wire("FF*10 11 11 30 37 FF*10")));
}

TEST_F(LinkTest, NoRegisterOnTheLine) {
    sim.line->detachAll();
    QByteArray reply = "untouched";
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -1);
    EXPECT_WIRE(sent(), kFill11 + kSelect01.repeated(5) + kRelease88);
    EXPECT_EQ(reply, "untouched");
    EXPECT_EQ(sim.line->timeouts(), 5);
    EXPECT_EQ(elapsed().count(), 1500);

    sim.line->clearTranscript();
    EXPECT_EQ(link().WriteRecord(1, 3, 1, "1;"), -1);
    EXPECT_WIRE(sent(), kFill11 + kSelect01.repeated(5) + kRelease88);
}

TEST_F(LinkTest, TenErrorRepliesToARead) {
    faults().errorReplies = Fault::always();
    QByteArray reply = "untouched";
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -15);
    EXPECT_WIRE(sent(), kFill11 + readExchange().repeated(10) + kRelease55);
    EXPECT_EQ(reply, "untouched");
}

TEST_F(LinkTest, ErrorRepliesAreRetriedUntilOneIsTaken) {
    faults().errorReplies = Fault::times(3);
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 29);
    EXPECT_WIRE(sent(), kFill11 + readExchange().repeated(4) + kRelease55);
    EXPECT_EQ(sim.ecr->commands().size(), 4);
}

TEST_F(LinkTest, WrongCheckByteOnAReplyIsNeitherAcknowledgedNorReleased) {
    faults().wrongCheckBytes = Fault::times(1);
    QByteArray reply = "untouched";
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -1000);
    EXPECT_WIRE(sent(), kFill11 + kSelect01 + kLineAck + kReadTable2);
    EXPECT_EQ(reply, "untouched");

    // The next exchange starts afresh with a select sequence.
    sim.line->clearTranscript();
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 29);
    EXPECT_WIRE(sent(), kFill11 + readExchange() + kRelease55);
}

TEST_F(LinkTest, EmptyReplyIsAnEmptyText) {
    sim.ecr->scriptReplies([](QByteArrayView) { return QByteArray(""); });
    QByteArray reply = "untouched";
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 0);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_WIRE(sent(), kFill11 + readExchange() + kRelease55);
}

TEST_F(LinkTest, FillBytesStayInsideAReadReplyButLeaveTheStatusLine) {
    faults().fillInsideLines = Fault::always();
    QByteArray reply;
    const int result = link().ReadRecord(1, 136, 1, reply);

    // The register put 0xFF after the first byte and in the middle of its
    // reply; they are data, covered by the check, and kept.
    QByteArray expected = "136;1;" + QByteArray("0;").repeated(24);
    expected.insert(expected.size() / 2, '\xFF');
    expected.insert(1, '\xFF');
    EXPECT_EQ(reply, expected);
    EXPECT_EQ(result, expected.size());
    EXPECT_EQ(link().statusText(), "01;NEON;");
}

TEST_F(LinkTest, RefusedReadFrameEndsTheReadAtOnce) {
    faults().refuseFrames = Fault::always();
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -12);
    EXPECT_WIRE(sent(), kFill11 + kSelect01 + kLineAck + kReadTable2);
}

TEST_F(LinkTest, ReplyCutShortIsAMissingByte) {
    faults().cutShortLines = Fault::times(1);
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -12);
    EXPECT_WIRE(sent(), kFill11 + kSelect01 + kLineAck + kReadTable2);
    EXPECT_EQ(sim.line->timeouts(), 1);
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 29);
}

TEST_F(LinkTest, ReplyLongerThanTheBufferIsRefusedAndTheLineStaysUsable) {
    sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        if (command == "R6;1;") return QByteArray(243, 'a');
        if (command == "R6;2;") return QByteArray(244, 'b');
        return std::nullopt;
    });
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 6, 1, reply), 243);
    EXPECT_EQ(reply, QByteArray(243, 'a'));

    sim.line->clearTranscript();
    EXPECT_EQ(link().ReadRecord(1, 6, 2, reply), -12);
    EXPECT_EQ(reply, QByteArray(243, 'a'));
    // The rest of the line was read away, not left for the next exchange.
    EXPECT_WIRE(sent(), kFill11 + kSelect01 + kLineAck + framed("R6;2;"));
    EXPECT_EQ(sim.line->timeouts(), 0);

    faults().overLongReplies = Fault::times(1);
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -12);
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 29);
}

TEST_F(LinkTest, ReadCommandLongerThanNineteenBytesIsRefused) {
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 123456789, 12345678, reply), -12);  // 20 bytes
    EXPECT_TRUE(sent().isEmpty());

    // 19 bytes go out; the register knows no such table.
    EXPECT_EQ(link().ReadRecord(1, 12345678, 12345678, reply), -15);
    EXPECT_EQ(sim.ecr->commands().front(), "R12345678;12345678;");
}
