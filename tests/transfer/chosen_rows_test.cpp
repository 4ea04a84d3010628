// Write runs over a chosen list of rows, and write runs that read every
// record back for a check.
#include "run_fixture.h"
#include "sim/tables.h"
#include "support/qt_print.h"
#include "text/cp1251.h"

namespace tabulon::transfer {
namespace {

using sim::Fault;

RunPlan plan(Direction direction, TableKind kind, Model model,
             const std::optional<IntervalTexts>& interval = std::nullopt) {
    const PlanResult planned = planTableRun(direction, kind, model, interval);
    EXPECT_TRUE(planned.plan) << planned.error.toStdString();
    return planned.plan.value_or(RunPlan{});
}

// Notes what it was shown and refuses the records it is told to.
class NotingCheck : public WriteCheck {
public:
    struct Seen {
        int row;
        int record;
        QString sent;
        QString reply;
        bool operator==(const Seen&) const = default;
    };
    QList<Seen> seen;
    QList<int> refuse;

    bool matches(int row, int record, const QByteArray& sent, const QByteArray& reply) override {
        seen << Seen{row, record, text::fromCp1251(sent), text::fromCp1251(reply)};
        return !refuse.contains(record);
    }
};

TEST_F(RunTest, OnlyTheChosenRowsAreWrittenEachIntoItsOwnRecord) {
    for (int row = 1; row <= 20; ++row) rows.rows[row] = {QStringLiteral("Відділ %1").arg(row)};
    RunPlan departments = plan(Direction::Write, TableKind::Departments, model_);
    departments.onlyRows = QList<int>{2, 5, 20};
    RunParts runParts = parts();
    const RunOutcome outcome = runTable(departments, runParts);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.done, 3);
    EXPECT_EQ(commands(), (QStringList{"W10;2;Відділ 2;", "W10;5;Відділ 5;", "W10;20;Відділ 20;"}));
    EXPECT_EQ(rows.counters, (QList<int>{2, 5, 20}));
    EXPECT_EQ(departments.rowCount(), 3);

    // Goods rows of an interval land in records by its offset.
    sim.ecr->clearCommands();
    rows.counters.clear();
    rows.rows[150] = {"150", "Чай", "12.5"};
    RunPlan goods =
        plan(Direction::Write, TableKind::Goods, model_, IntervalTexts{"101", "200", "11"});
    goods.onlyRows = QList<int>{101, 150};
    runTable(goods, runParts);
    EXPECT_EQ(commands(),
              (QStringList{"W0;11;;;0.00;0.000;;;;;;0;", "W0;60;150;Чай;12.50;0.000;;;;;;0;"}));
    EXPECT_EQ(rows.counters, (QList<int>{11, 60}));

    // An empty list writes nothing.
    sim.ecr->clearCommands();
    goods.onlyRows = QList<int>{};
    EXPECT_EQ(runTable(goods, runParts).done, 0);
    EXPECT_TRUE(commands().isEmpty());
}

TEST_F(RunTest, OnlyTheChosenRowsMustMakeRecords) {
    rows.rows[3] = {"3", "Хліб", "abc"};
    rows.rows[4] = {"4", "Сіль", "1.5"};
    RunPlan goods = plan(Direction::Write, TableKind::Goods, model_, IntervalTexts{"1", "10", "1"});
    goods.onlyRows = QList<int>{4};
    EXPECT_FALSE(firstRefusedRow(goods, rows));
    RunParts runParts = parts();
    EXPECT_EQ(runTable(goods, runParts).done, 1);
    EXPECT_EQ(commands(), QStringList{"W0;4;4;Сіль;1.50;0.000;;;;;;0;"});

    sim.line->clearTranscript();
    goods.onlyRows = QList<int>{3, 4};
    const RunOutcome refused = runTable(goods, runParts);
    ASSERT_TRUE(refused.refusal);
    EXPECT_TRUE(refused.refusal->startsWith("'abc' is not a valid floating point value\n"));
    EXPECT_TRUE(sim.line->sent().isEmpty());
}

TEST_F(RunTest, ACheckSeesEveryRecordReadBackRightAfterItsWrite) {
    for (int row = 1; row <= 3; ++row) rows.rows[row] = {QStringLiteral("Відділ %1").arg(row)};
    NotingCheck check;
    check.refuse = {2};
    RunParts runParts = parts();
    runParts.check = &check;
    RunPlan departments = plan(Direction::Write, TableKind::Departments, model_);
    departments.lastRow = 3;
    const RunOutcome outcome = runTable(departments, runParts);

    EXPECT_EQ(commands(), (QStringList{"W10;1;Відділ 1;", "R10;1;", "W10;2;Відділ 2;", "R10;2;",
                                       "W10;3;Відділ 3;", "R10;3;"}));
    EXPECT_EQ(check.seen, (QList<NotingCheck::Seen>{{1, 1, "Відділ 1;", "10;1;Відділ 1;"},
                                                    {2, 2, "Відділ 2;", "10;2;Відділ 2;"},
                                                    {3, 3, "Відділ 3;", "10;3;Відділ 3;"}}));
    EXPECT_EQ(outcome.done, 2);
    EXPECT_EQ(outcome.failedRecords, QList<int>{2});
    // The link took every exchange: the failure is the check's, not its.
    EXPECT_TRUE(outcome.failureCauses.isEmpty());
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(rows.counters, (QList<int>{1, 2, 3}));
    EXPECT_TRUE(dialogs.asked.isEmpty());
}

TEST_F(RunTest, AReadBackThatFailsGoesToTheDialogLikeAnyRecord) {
    rows.rows[1] = {"Овочі"};
    rows.rows[2] = {"Фрукти"};
    // Every read of record 1 is refused: ten "E" replies per attempt, ten
    // attempts in the series.
    sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        if (command == "R10;1;") return QByteArray("E2;");
        return std::nullopt;
    });
    NotingCheck check;
    RunParts runParts = parts();
    runParts.check = &check;
    dialogs.answers = {FailureAnswer::Skip};
    RunPlan departments = plan(Direction::Write, TableKind::Departments, model_);
    departments.lastRow = 2;
    const RunOutcome outcome = runTable(departments, runParts);

    EXPECT_EQ(dialogs.asked, QList<int>{1});
    EXPECT_EQ(check.seen.size(), 1);
    EXPECT_EQ(check.seen.front().record, 2);
    // The write of record 1 was taken: it is done, but nobody saw it again.
    EXPECT_TRUE(outcome.failedRecords.isEmpty());
    EXPECT_EQ(outcome.unverifiedRecords, QList<int>{1});
    EXPECT_EQ(outcome.done, 2);
    EXPECT_EQ(commands().count("R10;1;"), 100);
    EXPECT_EQ(commands().back(), "R10;2;");

    // Ending there stops the run before the next row.
    sim.ecr->clearCommands();
    dialogs.answers = {FailureAnswer::End};
    const RunOutcome ended = runTable(departments, runParts);
    EXPECT_TRUE(ended.stopped);
    EXPECT_EQ(ended.done, 1);
    EXPECT_EQ(ended.unverifiedRecords, QList<int>{1});
    EXPECT_FALSE(commands().contains("W10;2;Фрукти;"));
}

}  // namespace
}  // namespace tabulon::transfer
