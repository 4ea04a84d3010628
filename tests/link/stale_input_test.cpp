#include <algorithm>
#include <deque>
#include <functional>

#include "link_fixture.h"

using namespace tabulon;
using sim::Fault;
using namespace std::chrono_literals;

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
    for (int n = 1; n <= 20; ++n)
        ASSERT_GT(link().WriteRecord(1, kOperators, n, operatorRecord(n)), 0);

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
    // exactly what it always does. Its answer was owed, so the late line is
    // read off and the line waited out for one read time-out before the
    // select; then it reads only its own answers.
    const auto before = elapsed();
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), 29);
    EXPECT_WIRE(sent(), kFill11 + kSelect01 + kLineAck + framed("R2;1;") + kLineAck + kRelease55);
    EXPECT_EQ(reply, "2;1;1;0;1;50;1;0;0;1;4;0;1;0;");
    EXPECT_WIRE(sim.line->received(), sim::registerLine(reply) + sim::registerLine("01;NEON;") +
                                          '\x06' + sim::registerLine(reply));
    EXPECT_EQ(elapsed() - before, 300ms);
    EXPECT_EQ(sim.line->timeouts(), 1);

    faults().lateReplies = Fault::times(1);
    EXPECT_EQ(link().ReadRecord(1, 2, 1, reply), -12);
    EXPECT_EQ(link().DetectRegister(1), 1);
}

namespace {

bool isFrameAnswer(const QByteArray& answer) {
    return answer.startsWith('\x06');
}

}  // namespace

// An "E" reply whose line start is lost, doubled or led by a stray byte
// (another ACK, a select byte) must never pass for a reply without "E": the
// link refuses a damaged line, and the record is written by the next attempt.
TEST_F(LinkTest, AWriteReplyWithADamagedLineStartIsNeverTakenForDone) {
    const std::pair<const char*, std::function<QByteArray(QByteArray)>> damages[] = {
        {"line start lost", [](QByteArray a) { return a.remove(1, 1); }},
        {"line start doubled", [](QByteArray a) { return a.insert(1, '\n'); }},
        {"ACK doubled", [](QByteArray a) { return a.insert(1, '\x06'); }},
        {"stray byte before the line start", [](QByteArray a) { return a.insert(1, '\x11'); }},
    };
    for (const auto& [name, damage] : damages) {
        sim.line->detachAll();
        sim.line->attach(std::make_shared<AnswerChanger>(sim.ecr, [&](const QByteArray& answer) {
            return isFrameAnswer(answer) ? damage(answer) : answer;
        }));
        // Operator 21 does not exist: the register refuses it with "E" each time.
        EXPECT_EQ(link().WriteRecord(1, kOperators, 21, operatorRecord(21)), -12) << name;
        EXPECT_EQ(link().WriteRecord(1, kOperators, 7, operatorRecord(7)), -12) << name;

        sim.line->detachAll();
        sim.line->attach(sim.ecr);
        EXPECT_EQ(link().WriteRecord(1, kOperators, 21, operatorRecord(21)), -15) << name;
        EXPECT_EQ(link().WriteRecord(1, kOperators, 7, operatorRecord(7)), 19) << name;
    }
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, kOperators, 7, reply), 12);
    EXPECT_EQ(reply, operatorReply(7));
}

// A second status line that has arrived behind the first (the register
// answered an earlier select late), led by a stray ACK, is not the reply to
// the frame sent after it: reads return their record, writes are not done
// without the register's own ACK.
TEST_F(LinkTest, AStatusLineQueuedBehindTheFirstIsNeverTakenForTheReply) {
    for (int n = 1; n <= 3; ++n)
        ASSERT_GT(link().WriteRecord(1, kOperators, n, operatorRecord(n)), 0);
    sim.line->detachAll();
    sim.line->attach(std::make_shared<AnswerChanger>(sim.ecr, [](const QByteArray& answer) {
        return answer.startsWith('\n') ? answer + '\x06' + answer : answer;
    }));

    for (int n = 1; n <= 3; ++n) {
        QByteArray reply;
        EXPECT_EQ(link().ReadRecord(1, kOperators, n, reply), 12) << "record " << n;
        EXPECT_EQ(reply, operatorReply(n));
    }
    // Operator 21 does not exist: only its "E" reply may answer the frame.
    EXPECT_EQ(link().WriteRecord(1, kOperators, 21, operatorRecord(21)), -15);
    EXPECT_EQ(link().WriteRecord(1, kOperators, 2, "2;Two;1;0;"), 19);
    QByteArray reply;
    EXPECT_EQ(link().ReadRecord(1, kOperators, 2, reply), 12);
    EXPECT_EQ(reply, "3;2;2;Two;1;");
}

namespace {

// A half-dead register: it hears at once, but says each thing only a while
// after it finished saying the last, its status lines 400 ms after (past the
// computer's 300 ms wait for a byte), its answers to frames 100 ms after. The
// line carries its bytes in order.
class SlowRegisterPort final : public link::BytePort {
public:
    SlowRegisterPort(std::shared_ptr<sim::LineDevice> ecr, link::VirtualClock& clock)
        : ecr_(std::move(ecr)), clock_(clock) {}

    bool open(const QString&) override { return open_ = true; }
    bool apply(const link::LineSettings&) override { return true; }
    bool isOpen() const override { return open_; }
    void write(QByteArrayView bytes) override {
        const QByteArray answer = ecr_->receive(bytes);
        if (answer.isEmpty()) return;
        link::Clock::Duration at = clock_.now();
        if (!queue_.empty()) at = std::max(at, queue_.back().first);
        at += answer.startsWith('\n') ? 400ms : 100ms;
        for (char byte : answer) queue_.push_back({at, byte});
    }
    std::optional<std::uint8_t> readByte() override {
        const link::Clock::Duration now = clock_.now();
        if (queue_.empty() || queue_.front().first > now + 300ms) {
            clock_.advance(300ms);
            return std::nullopt;
        }
        const auto [arrival, byte] = queue_.front();
        queue_.pop_front();
        if (arrival > now) clock_.advance(arrival - now);
        return std::uint8_t(byte);
    }
    void drain() override {}
    void discardInput() override {
        while (!queue_.empty() && queue_.front().first <= clock_.now()) queue_.pop_front();
    }
    bool close() override {
        open_ = false;
        return true;
    }
    QString errorString() const override { return {}; }

private:
    std::shared_ptr<sim::LineDevice> ecr_;
    link::VirtualClock& clock_;
    std::deque<std::pair<link::Clock::Duration, char>> queue_;
    bool open_ = false;
};

class SlowRegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= 6; ++n)
            ASSERT_EQ(ecr->tables().write(kOperators, n, operatorRecord(n)), sim::Refusal::None);
        link::RegisterLink::Parts parts;
        parts.port = std::make_unique<SlowRegisterPort>(ecr, *clock);
        parts.clock = clock;
        parts.priority = std::make_shared<link::CountingPriority>();
        parts.deviceFor = [](int) { return QStringLiteral("slow"); };
        link = std::make_unique<link::RegisterLink>(std::move(parts));
        ASSERT_EQ(link->OpenPort(1, 9600), 1);
    }

    std::shared_ptr<link::VirtualClock> clock = std::make_shared<link::VirtualClock>();
    std::shared_ptr<sim::SimulatedRegister> ecr =
        std::make_shared<sim::SimulatedRegister>(sim::Model::Neon);
    std::unique_ptr<link::RegisterLink> link;
};

}  // namespace

// Its answer to a select comes after the computer tried again, so the status
// line taken is the one to the first select and the second is still on its
// way when the frame goes out. Whatever that costs the exchange, the answer to
// one record's frame must never be handed out for the next record's. (At this
// pace no exchange gets its own answer in time and every read fails; before
// the owed answer was waited out, records 2 to 6 came back as the one before.)
TEST_F(SlowRegisterTest, AReadNeverReturnsTheAnswerToTheRecordReadBefore) {
    for (int n = 1; n <= 6; ++n) {
        QByteArray reply;
        const int result = link->ReadRecord(1, kOperators, n, reply);
        if (result >= 0) {
            EXPECT_EQ(reply, operatorReply(n)) << "record " << n;
        }
    }
}

TEST_F(SlowRegisterTest, AWriteTheRegisterRefusesIsNeverReportedDone) {
    // Operator 21 does not exist: the register answers its frame with "E".
    for (int round = 0; round < 3; ++round) {
        link->WriteRecord(1, kOperators, 5, operatorRecord(5));
        EXPECT_LT(link->WriteRecord(1, kOperators, 21, operatorRecord(21)), 0) << "round " << round;
    }
}
