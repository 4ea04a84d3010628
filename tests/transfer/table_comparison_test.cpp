// Comparing a table with what the register holds: only reads go out, and a
// record that was not read is never counted as equal.
#include "transfer/table_comparison.h"

#include "run_fixture.h"
#include "support/qt_print.h"

namespace tabulon::transfer {

inline void PrintTo(const FieldDifference& field, std::ostream* os) {
    *os << "column " << field.column << ": " << field.mine.toStdString() << " / "
        << (field.theirs ? field.theirs->toStdString() : "(none)");
}

namespace {

using sim::Fault;

RunPlan writePlan(TableKind kind, Model model,
                  const std::optional<IntervalTexts>& interval = std::nullopt) {
    return planTableRun(Direction::Write, kind, model, interval).plan.value_or(RunPlan{});
}

TEST_F(RunTest, ComparisonFindsTheDifferingFieldsAndNamesWhatItCouldNotRead) {
    struct Case {
        const char* name;
        TableKind kind;
        std::optional<IntervalTexts> interval;
        QMap<int, QStringList> rows;
        int failingRecord = 0;  // refused ten times, then skipped
        QList<int> differing;
        QList<FieldDifference> firstDifference;
        QList<int> unread;
        QString message;
        int emptiedAfter = 0;  // "Очистить таблицу" once this record is read
    };
    QMap<int, QStringList> departments;
    for (int row = 1; row <= 20; ++row) departments[row] = {QStringLiteral("Відділ %1").arg(row)};
    QMap<int, QStringList> twoChanged = departments;
    twoChanged[3] = {"Хліб"};
    twoChanged[17] = {""};
    const Case cases[] = {
        {"all equal",
         TableKind::Departments,
         {},
         departments,
         0,
         {},
         {},
         {},
         "Отличается 0 строк из 20"},
        {"two rows differ",
         TableKind::Departments,
         {},
         twoChanged,
         0,
         {3, 17},
         {{1, "Хліб", "Відділ 3"}},
         {},
         "Отличается 2 строки из 20: 3, 17"},
        {"a skipped record is not equal",
         TableKind::Departments,
         {},
         departments,
         12,
         {},
         {},
         {12},
         "Отличается 0 строк из 20\nНе прочитано 1 строка, для них сравнения нет: 12"},
        {"goods in an interval: a price typed without its decimals is equal",
         TableKind::Goods,
         IntervalTexts{"1", "2", "1"},
         {{1, {"1", "Хліб білий", "12.5", "100", "1", "1", "1", "1", "0", "4820000000001"}},
          {2, {"2", "Батон нарізний", "14.01", "100", "1", "1", "1", "1", "0", "4820000000002"}}},
         0,
         {2},
         {{3, "14.01", "14.00"}},
         {},
         "Отличается 1 строка из 2: 2"},
        {"rows emptied during the comparison: the ones read before have none",
         TableKind::Departments,
         {},
         departments,
         0,
         {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
         {{1, "", "Відділ 3"}},
         {1, 2},
         "Отличается 18 строк из 20: 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, …\nНе прочитано 2 строки, "
         "для них сравнения нет: 1, 2",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.ecr->clearCommands();
        rows.rows = c.rows;
        dialogs.answers = {FailureAnswer::Skip};
        rows.onRecord = [&](int counter) {
            if (counter == c.failingRecord - 1)
                sim.ecr->faults().errorReplies = Fault::times(10 * 10);
            if (counter == c.emptiedAfter) {
                for (QStringList& row : rows.rows) row = {""};
                ++rows.changes;
            }
        };
        RunParts runParts = parts();
        const ComparisonOutcome outcome =
            compareTable(writePlan(c.kind, model_, c.interval), runParts);
        EXPECT_EQ(outcome.differingRows(), c.differing);
        if (!c.firstDifference.isEmpty() && !outcome.differing.isEmpty()) {
            EXPECT_EQ(outcome.differing.first().differences.fields.first(),
                      c.firstDifference.first());
        }
        EXPECT_EQ(outcome.unreadRows, c.unread);
        EXPECT_EQ(comparisonEndMessage(outcome), c.message);
        for (const QString& command : commands())
            EXPECT_TRUE(command.startsWith(u'R')) << command.toStdString();
    }
}

TEST_F(RunTest, ARowThatMakesNoRecordStopsTheComparisonBeforeAnyRead) {
    rows.rows[7] = {"7", "Чай", "дорого"};
    RunParts runParts = parts();
    const ComparisonOutcome outcome = compareTable(writePlan(TableKind::Goods, model_), runParts);
    ASSERT_TRUE(outcome.refusal);
    EXPECT_TRUE(outcome.refusal->english.contains("row 7"))
        << outcome.refusal->english.toStdString();
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_FALSE(outcome.complete());
}

}  // namespace
}  // namespace tabulon::transfer
