#include "link_fixture.h"

using namespace tabulon;
using sim::Fault;

namespace {

constexpr int kOperators = 3;
constexpr int kAttempts = 10;

QByteArray operatorRecord(int number) {
    return QByteArray::number(number) + ";Op" + QByteArray::number(number) + ";1;0;";
}

QByteArray operatorReply(int number) {
    return "3;" + QByteArray::number(number) + ';' + QByteArray::number(number) + ";Op" +
           QByteArray::number(number) + ";1;";
}

}  // namespace

// A reply that comes after its time-out stays in the input. Every exchange
// after it must still be paired with its own answer: retried as a run retries
// a record, a read either fails or returns exactly its own record.
TEST_F(LinkTest, AReplyThatComesLateIsNeverTakenForALaterRecord) {
    for (int n = 1; n <= 20; ++n) ASSERT_GT(link().WriteRecord(1, kOperators, n, operatorRecord(n)), 0);

    for (int lateAt : {1, 4, 19}) {
        for (int n = 1; n <= 20; ++n) {
            if (n == lateAt) faults().lateReplies = Fault::times(1);
            QByteArray reply;
            int result = -1;
            for (int attempt = 0; attempt < kAttempts && result < 0; ++attempt)
                result = link().ReadRecord(1, kOperators, n, reply);
            ASSERT_GE(result, 0) << "record " << n;
            EXPECT_EQ(reply, operatorReply(n)) << "late reply at " << lateAt;
        }
    }
}

TEST_F(LinkTest, AfterALateWriteReplyARefusedRecordIsNotReportedWritten) {
    faults().lateReplies = Fault::times(1);
    EXPECT_EQ(link().WriteRecord(1, kOperators, 5, operatorRecord(5)), -12);

    // Operator 21 does not exist: the register answers "E" every time.
    EXPECT_EQ(link().WriteRecord(1, kOperators, 21, operatorRecord(21)), -15);
    // And the next good write is done and stored.
    EXPECT_GT(link().WriteRecord(1, kOperators, 6, "6;Six;1;0;"), 0);
    QByteArray reply;
    EXPECT_GT(link().ReadRecord(1, kOperators, 6, reply), 0);
    EXPECT_EQ(reply, "3;6;6;Six;1;");
}

TEST_F(LinkTest, PendingInputIsDroppedBeforeEverySelectAndPollButNothingSentChanges) {
    faults().lateReplies = Fault::times(1);
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -12);
    sim.line->clearTranscript();

    // The late line waits in the input; the next exchange puts on the line
    // exactly what it always does and reads only its own answers.
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 29);
    EXPECT_WIRE(sent(), kFill11 + kSelect01 + kLineAck + framed("R2;1;") + kLineAck + kRelease55);
    EXPECT_EQ(reply, "2;1;1;0;1;50;1;0;0;1;4;0;1;0;");
    EXPECT_WIRE(sim.line->received(),
                sim::registerLine("01;NEON;") + '\x06' + sim::registerLine(reply));

    faults().lateReplies = Fault::times(1);
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -12);
    EXPECT_EQ(link().DetectRegister(1), 1);
}
