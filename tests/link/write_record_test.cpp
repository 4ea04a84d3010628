#include <functional>
#include <optional>

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

// How a write ends when the register or the line misbehaves: the result, what
// the computer put on the line, and how long it waited.
TEST_F(LinkTest, WriteUnderEachFault) {
    using link::ResultCause;
    const int written = int(kCommand.size()) + 4;
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int result;
        ResultCause cause;
        std::optional<QByteArray> wire;  // nullopt: not looked at
        std::optional<int> timeouts;
        std::function<void()> after;  // further checks, or nothing
    };
    const Case cases[] = {
        {"ten error replies",
         [this] { faults().errorReplies = Fault::always(); },
         -15,
         ResultCause::RegisterRefused,
         kFill11 + exchange().repeated(10) + kRelease1015 + kRelease88,
         std::nullopt,
         {}},
        {"ten refusals of the frame",
         [this] { faults().refuseFrames = Fault::always(); },
         -12,
         ResultCause::RefusedFrame,
         kFill11 + attempt().repeated(10) + kRelease1015,
         0,
         {}},
        {"refusals and error replies share the ten attempts",
         [this] {
             faults().refuseFrames = Fault::times(2);
             faults().errorReplies = Fault::times(3);
         },
         written,
         ResultCause::Done,
         kFill11 + attempt().repeated(2) + exchange().repeated(4) + kRelease1015,
         std::nullopt,
         {}},
        // Nine "E" replies, then a refusal: refused, so no (8, 8) after (10, 15).
        {"the last attempt decides the result",
         [this] {
             faults().errorReplies = Fault::times(9);
             sim.ecr->scriptReplies([this](QByteArrayView) -> std::optional<QByteArray> {
                 if (sim.ecr->commands().size() == 9) faults().refuseFrames = Fault::always();
                 return std::nullopt;
             });
         },
         -12,
         ResultCause::RefusedFrame,
         kFill11 + exchange().repeated(9) + attempt() + kRelease1015,
         std::nullopt,
         {}},
        {"a write reply is taken whatever its check bytes",
         [this] { faults().wrongCheckBytes = Fault::always(); },
         written,
         ResultCause::Done,
         kFill11 + exchange() + kRelease1015,
         std::nullopt,
         {}},
        {"fill bytes inside a write reply are dropped",
         [this] { faults().fillInsideLines = Fault::always(); }, written, ResultCause::Done,
         std::nullopt, std::nullopt,
         [this] {
             EXPECT_EQ(link().statusText(), "3;5;");
             EXPECT_TRUE(sim.line->received().contains('\xFF'));
         }},
        {"fill bytes ahead of an error mark do not hide it",
         [this] {
             faults().fillInsideLines = Fault::always();
             sim.ecr->scriptReplies([](QByteArrayView) { return QByteArray("E2;"); });
         },
         -15,
         ResultCause::RegisterRefused,
         std::nullopt,
         std::nullopt,
         {}},
        {"a frame that is never answered",
         [this] {
             sim.line->detachAll();
             sim.line->attach(std::make_shared<FrameSwallower>(sim.ecr));
         },
         -12,
         ResultCause::AwaitedByteMissing,
         kFill11 + attempt() + kRelease88,
         std::nullopt,
         {}},
        {"a write reply cut short",
         [this] { faults().cutShortLines = Fault::times(1); },
         -12,
         ResultCause::AwaitedByteMissing,
         kFill11 + attempt() + kRelease88,
         std::nullopt,
         {}},
        {"an over-long write reply, and the line stays usable",
         [this] { faults().overLongReplies = Fault::times(1); }, -12, ResultCause::ReplyTooLong,
         kFill11 + attempt() + kRelease88, 0,
         [this] { EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), kCommand.size() + 4); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim = sim::makeSimulatedLink(sim::Model::Neon);
        ASSERT_EQ(link().OpenPort(1, 9600), 1);
        sim.line->clearTranscript();
        c.arrange();
        EXPECT_EQ(link().WriteRecord(1, 3, 5, kData), c.result);
        EXPECT_EQ(link().lastCause(), c.cause);
        if (c.wire) {
            EXPECT_WIRE(sent(), *c.wire);
        }
        if (c.timeouts) {
            EXPECT_EQ(sim.line->timeouts(), *c.timeouts);
        }
        if (c.after) c.after();
    }
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
