#include "run_fixture.h"
#include "support/forwarding_port.h"
#include "support/qt_print.h"

namespace tabulon::link {
inline void PrintTo(ResultCause cause, std::ostream* os) {
    *os << "cause " << int(cause);
}
}  // namespace tabulon::link

namespace tabulon::transfer {
namespace {

// A serial server's connection whose failed openings say why, as the network
// port does (the link asks only after one failed).
struct ServerPort : testing::ForwardingPort {
    ServerPort(std::unique_ptr<link::BytePort> inner, std::optional<link::NetworkFailure> failure)
        : ForwardingPort(std::move(inner)), why(failure) {}
    std::optional<link::NetworkFailure> serverFailure() const override { return why; }
    std::optional<link::NetworkFailure> why;
};

using link::ResultCause;
using sim::Fault;

// A record the link failed at keeps why, so that the end of a run can say more
// than its number; the user's answer to the dialog does not change it.
TEST_F(RunTest, EachRecordTheLinkFailedKeepsWhy) {
    struct Case {
        const char* name;
        Direction direction;
        TableKind kind;
        // Switched on once record 1 is done, off again by its count.
        std::function<void(sim::Faults&)> fault;
        FailureAnswer answer;
        QList<int> failed;
        QMap<int, ResultCause> causes;
        // Once record 1 is done its serial server goes; this many openings
        // then fail (-1: all), and the line is opened this often in all.
        int refusedOpens = 0;
        int opens = 1;
        std::optional<link::NetworkFailure> why = std::nullopt;  // what failed openings say
    };
    const Case cases[] = {
        {"write on a silent line",
         Direction::Write,
         TableKind::Operators,
         [](sim::Faults& f) { f.silent = Fault::times(5 * 10); },
         FailureAnswer::Skip,
         {2},
         {{2, ResultCause::NoAnswer}}},
        {"write frames refused",
         Direction::Write,
         TableKind::Operators,
         [](sim::Faults& f) { f.refuseFrames = Fault::times(10 * 10); },
         FailureAnswer::Skip,
         {2},
         {{2, ResultCause::RefusedFrame}}},
        {"write replies cut short, then ended",
         Direction::Write,
         TableKind::Operators,
         [](sim::Faults& f) { f.cutShortLines = Fault::times(10); },
         FailureAnswer::End,
         {2},
         {{2, ResultCause::AwaitedByteMissing}}},
        {"read with wrong check bytes",
         Direction::Read,
         TableKind::Operators,
         [](sim::Faults& f) { f.wrongCheckBytes = Fault::times(10); },
         FailureAnswer::Skip,
         {2},
         {{2, ResultCause::CheckBytesDiffer}}},
        {"read refused with E, then dismissed",
         Direction::Read,
         TableKind::Operators,
         [](sim::Faults& f) { f.errorReplies = Fault::times(10 * 10); },
         FailureAnswer::Dismissed,
         {2},
         {{2, ResultCause::RegisterRefused}}},
        {"read replies over-long, skipped, then done",
         Direction::Read,
         TableKind::Operators,
         [](sim::Faults& f) { f.overLongReplies = Fault::times(10 + 1); },
         FailureAnswer::Skip,
         {2},
         {{2, ResultCause::ReplyTooLong}}},
        {"clear refused with E",
         Direction::Clear,
         TableKind::Departments,
         [](sim::Faults& f) { f.errorReplies = Fault::times(10 * 10); },
         FailureAnswer::End,
         {2},
         {{2, ResultCause::RegisterRefused}}},
        {"nothing wrong",
         Direction::Write,
         TableKind::Operators,
         [](sim::Faults&) {},
         FailureAnswer::End,
         {},
         {}},
        // clang-format off
        {"serial server back after 1.75 s", Direction::Write, TableKind::Operators,
         [](sim::Faults&) {}, FailureAnswer::End, {}, {}, 3, 5},
        {"serial server gone: 15 s waited", Direction::Write, TableKind::Operators,
         [](sim::Faults&) {}, FailureAnswer::End, {2}, {{2, ResultCause::ServerUnreachable}}, -1, 8},
        {"serial server refusing: 15 s waited", Direction::Write, TableKind::Operators,
         [](sim::Faults&) {}, FailureAnswer::End, {2}, {{2, ResultCause::ServerUnreachable}}, -1, 8,
         link::NetworkFailure::ConnectionRefused},
        {"serial server's host silent: one connect", Direction::Write, TableKind::Operators,
         [](sim::Faults&) {}, FailureAnswer::End, {2}, {{2, ResultCause::ServerUnreachable}}, -1, 2,
         link::NetworkFailure::NoAnswer},
        // clang-format on
    };
    for (int row = 1; row <= 20; ++row) rows.rows[row] = {QString::number(row), "Op"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim = sim::makeSimulatedLink(sim::Model::DatecsMp550T,
                                     [](int) { return "tcp://shop7:4001"; });
        link::RegisterLink::Parts parts;
        parts.port =
            std::make_unique<ServerPort>(std::make_unique<sim::SimulatedPort>(sim.line), c.why);
        parts.deviceFor = [](int) { return QStringLiteral("tcp://shop7:4001"); };
        parts.clock = sim.clock;
        parts.priority = sim.priority;
        sim.link = std::make_unique<link::RegisterLink>(std::move(parts));
        ASSERT_EQ(sim.link->OpenPort(1, 9600), 1);
        control.stopRequested = false;
        dialogs.answers = {c.answer};
        rows.onRecord = [&](int counter) {
            if (counter != 1) return;
            c.fault(sim.ecr->faults());
            if (c.refusedOpens == 0) return;
            sim.link->ClosePort(1);
            sim.line->failOpen(QStringLiteral("Connection refused"), c.refusedOpens);
        };
        const RunOutcome outcome = run(c.direction, c.kind);
        EXPECT_EQ(outcome.failedRecords, c.failed);
        EXPECT_EQ(outcome.failureCauses, c.causes);
        if (c.refusedOpens != 0) {
            EXPECT_EQ(sim.line->opens(), c.opens);
        }
    }
}

}  // namespace
}  // namespace tabulon::transfer
