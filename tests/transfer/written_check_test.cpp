#include "transfer/written_check.h"

#include "run_fixture.h"
#include "support/qt_print.h"
#include "transfer/run_end_message.h"

namespace tabulon::transfer {
namespace {

class WrittenCheckTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        check = &sameAsWritten;
        // The register keeps the department after this one with "#", once a run.
        rows.onRecord = [this](int counter) {
            if (counter == alteredAfter) sim.ecr->faults().alterStored = sim::Fault::times(1);
        };
    }
    SameAsWritten sameAsWritten{TableKind::Departments};
    int alteredAfter = 0;
};

TEST_F(WrittenCheckTest, ARecordReadBackOtherwiseIsDecidedByTheAnswer) {
    const struct {
        FailureAnswer answer;
        int written;  // times department 3 went out and was read back
        QString end;
    } cases[] = {
        {FailureAnswer::Retry, 2, "Операция завершена успешно"},
        {FailureAnswer::Skip, 1, "Операция завершена: 1 зап. пропущено (записи 3)."},
        {FailureAnswer::End, 1, "Операция прервана"},
    };
    alteredAfter = 2;
    for (const auto& c : cases) {
        sim.ecr->clearCommands();
        control.stopRequested = false;
        dialogs.asked.clear();
        dialogs.answers = {c.answer};
        const RunOutcome outcome = run(Direction::Write, TableKind::Departments);
        EXPECT_EQ(dialogs.asked, QList<int>{3});
        EXPECT_EQ(commands().count("W10;3;;"), c.written);
        EXPECT_EQ(commands().count("R10;3;"), c.written);
        EXPECT_EQ(runEndMessage(Direction::Write, outcome), c.end);
    }
}

TEST_F(WrittenCheckTest, SkippingLaterFailuresRefusedOrReadBackOtherwiseAsksOnceNamesAll) {
    sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        for (const char* refused : {"W10;3;", "W10;5;", "W10;9;"})
            if (command.startsWith(refused)) return "E2;";
        return std::nullopt;
    });
    alteredAfter = 6;
    dialogs.answers = {FailureAnswer::SkipLater};
    const RunOutcome outcome = run(Direction::Write, TableKind::Departments);
    EXPECT_EQ(dialogs.asked, QList<int>{3});
    EXPECT_EQ(runEndMessage(Direction::Write, outcome),
              "Операция завершена: 4 зап. пропущено (записи 3, 5, 7, 9).");
}

}  // namespace
}  // namespace tabulon::transfer
