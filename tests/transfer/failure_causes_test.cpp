#include "qt_print.h"
#include "run_fixture.h"

namespace tabulon::link {
inline void PrintTo(ResultCause cause, std::ostream* os) {
    *os << "cause " << int(cause);
}
}  // namespace tabulon::link

namespace tabulon::transfer {
namespace {

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
    };
    for (int row = 1; row <= 20; ++row) rows.rows[row] = {QString::number(row), "Op"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim = sim::makeSimulatedLink(sim::Model::Mp550T);
        ASSERT_EQ(sim.link->OpenPort(1, 9600), 1);
        control.stopRequested = false;
        dialogs.answers = {c.answer};
        rows.onRecord = [&](int counter) {
            if (counter == 1) c.fault(sim.ecr->faults());
        };
        const RunOutcome outcome = run(c.direction, c.kind);
        EXPECT_EQ(outcome.failedRecords, c.failed);
        EXPECT_EQ(outcome.failureCauses, c.causes);
    }
}

}  // namespace
}  // namespace tabulon::transfer
