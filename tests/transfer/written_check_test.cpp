#include "transfer/written_check.h"

#include "run_fixture.h"
#include "support/qt_print.h"
#include "text/cp1251.h"
#include "transfer/run_end_message.h"

namespace tabulon::transfer {
namespace {

using sim::Fault;

// The commands the register took for one department record.
QStringList commandsOf(const QStringList& commands, int record) {
    QStringList out;
    const QString tail = QStringLiteral("10;%1;").arg(record);
    for (const QString& c : commands)
        if (c.mid(1).startsWith(tail)) out << c;
    return out;
}

class WrittenCheckTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        for (int row = 1; row <= 20; ++row) rows.rows[row] = {"D"};
        check = &sameAsWritten;
    }
    // The register keeps the record after `record` altered, once.
    void alterAfter(int record) {
        rows.onRecord = [this, record](int counter) {
            if (counter == record) sim.ecr->faults().alterStored = Fault::times(1);
        };
    }
    SameAsWritten sameAsWritten{TableKind::Departments};
};

TEST_F(WrittenCheckTest, ARecordReadBackOtherwiseIsDecidedByTheAnswer) {
    const struct {
        const char* what;
        FailureAnswer answer;
        QStringList record3;  // what the register took for department 3
        QList<int> failed;
        bool stopped;
        int done;
    } cases[] = {
        {"retried: written and read again",
         FailureAnswer::Retry,
         {"W10;3;D;", "R10;3;", "W10;3;D;", "R10;3;"},
         {},
         false,
         20},
        {"skipped", FailureAnswer::Skip, {"W10;3;D;", "R10;3;"}, {3}, false, 19},
        {"ended", FailureAnswer::End, {"W10;3;D;", "R10;3;"}, {3}, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim.ecr->clearCommands();
        control.stopRequested = false;
        dialogs.asked.clear();
        dialogs.answers = {c.answer};
        alterAfter(2);
        const RunOutcome outcome = run(Direction::Write, TableKind::Departments);
        EXPECT_EQ(dialogs.asked, QList<int>{3});
        EXPECT_EQ(commandsOf(commands(), 3), c.record3);
        EXPECT_EQ(outcome.failedRecords, c.failed);
        EXPECT_EQ(outcome.stopped, c.stopped);
        EXPECT_EQ(outcome.done, c.done);
        EXPECT_TRUE(outcome.failureCauses.isEmpty());
    }
}

TEST_F(WrittenCheckTest, SkippingTheLaterFailuresAsksOnceAndNamesThemAll) {
    const struct {
        const char* what;
        QList<FailureAnswer> answers;
        QList<int> refused;  // departments whose writes the register refuses
        int alteredAfter;    // 0: none kept otherwise
        QList<int> asked;
        QString end;
    } cases[] = {
        {"refused records",
         {FailureAnswer::SkipLater},
         {3, 5, 9},
         0,
         {3},
         "Операция завершена: 3 зап. пропущено (записи 3, 5, 9)."},
        {"a record read back otherwise after it",
         {FailureAnswer::SkipLater},
         {3},
         5,
         {3},
         "Операция завершена: 2 зап. пропущено (записи 3, 6)."},
        {"a plain skip asks for each",
         {FailureAnswer::Skip, FailureAnswer::Skip, FailureAnswer::Skip},
         {3, 5, 9},
         0,
         {3, 5, 9},
         "Операция завершена: 3 зап. пропущено (записи 3, 5, 9)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim.ecr->scriptReplies([&c](QByteArrayView command) -> std::optional<QByteArray> {
            for (int record : c.refused)
                if (command.startsWith("W10;" + QByteArray::number(record) + ';'))
                    return QByteArray("E2;");
            return std::nullopt;
        });
        rows.onRecord = nullptr;
        if (c.alteredAfter) alterAfter(c.alteredAfter);
        // Each run asks afresh.
        for (int pass = 1; pass <= 2; ++pass) {
            dialogs.asked.clear();
            dialogs.answers = c.answers;
            const RunOutcome outcome = run(Direction::Write, TableKind::Departments);
            EXPECT_EQ(dialogs.asked, c.asked);
            EXPECT_EQ(runEndMessage(Direction::Write, outcome), c.end);
        }
    }
}

}  // namespace
}  // namespace tabulon::transfer
