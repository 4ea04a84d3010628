#include <gtest/gtest.h>

#include "support/qt_print.h"
#include "transfer/run_plan.h"

namespace tabulon::transfer {
namespace {

struct Bounds {
    int first, last, firstRecord, progressMaximum, progressStart;
    bool operator==(const Bounds&) const = default;
};

Bounds bounds(Direction direction, TableKind kind, Model model,
              std::optional<IntervalTexts> interval = std::nullopt) {
    const PlanResult result = planTableRun(direction, kind, model, interval);
    EXPECT_TRUE(result.plan) << result.error.toStdString();
    if (!result.plan) return {};
    const RunPlan& p = *result.plan;
    return {p.firstRow, p.lastRow, p.firstRecord, p.progressMaximum, p.progressStart};
}

QString refusal(Direction direction, Model model, IntervalTexts interval) {
    const PlanResult result = planTableRun(direction, TableKind::Goods, model, interval);
    EXPECT_FALSE(result.plan);
    return result.error;
}

TEST(RunPlan, BoundsPerTableDirectionAndModel) {
    const auto W = Direction::Write, R = Direction::Read, C = Direction::Clear;
    EXPECT_EQ(bounds(W, TableKind::Goods, Model::DatecsMp550T), (Bounds{1, 10000, 1, 9999, 0}));
    EXPECT_EQ(bounds(W, TableKind::Goods, Model::DatecsMp50Junior), (Bounds{1, 5000, 1, 4999, 0}));
    EXPECT_EQ(bounds(R, TableKind::Goods, Model::Neon), (Bounds{1, 10000, 1, 9999, 0}));
    EXPECT_EQ(bounds(C, TableKind::Goods, Model::DatecsMp550T), (Bounds{1, 10000, 1, 10000, 0}));
    EXPECT_EQ(bounds(W, TableKind::Operators, Model::Neon), (Bounds{1, 20, 1, 19, 0}));
    // Payment type 1 is the register's own: read, never written or cleared.
    EXPECT_EQ(bounds(W, TableKind::PaymentTypes, Model::DatecsMp550T), (Bounds{2, 5, 2, 3, 0}));
    EXPECT_EQ(bounds(W, TableKind::PaymentTypes, Model::Neon), (Bounds{2, 4, 2, 2, 0}));
    EXPECT_EQ(bounds(C, TableKind::PaymentTypes, Model::Neon), (Bounds{2, 4, 2, 4, 1}));
    EXPECT_EQ(bounds(R, TableKind::PaymentTypes, Model::Neon), (Bounds{1, 5, 1, 4, 0}));
    EXPECT_EQ(bounds(R, TableKind::Departments, Model::DatecsMp50Junior), (Bounds{1, 20, 1, 19, 0}));
    EXPECT_EQ(bounds(C, TableKind::HeaderText, Model::Neon), (Bounds{1, 12, 1, 12, 0}));
}

TEST(RunPlan, CodingIntervalMovesRowsIntoOtherRecords) {
    const IntervalTexts interval{"101", "200", "1"};
    EXPECT_EQ(bounds(Direction::Write, TableKind::Goods, Model::DatecsMp550T, interval),
              (Bounds{101, 200, 1, 99, 0}));
    EXPECT_EQ(bounds(Direction::Read, TableKind::Goods, Model::Neon, interval),
              (Bounds{101, 200, 1, 99, 0}));
    // The last record may be 10000 itself; a write may use it on every model.
    EXPECT_EQ(bounds(Direction::Write, TableKind::Goods, Model::DatecsMp50Junior,
                     IntervalTexts{"1", "100", "9901"}),
              (Bounds{1, 100, 9901, 99, 0}));
    // Clearing and the other tables never use it.
    EXPECT_EQ(bounds(Direction::Clear, TableKind::Goods, Model::Neon, interval),
              (Bounds{1, 10000, 1, 10000, 0}));
    EXPECT_EQ(bounds(Direction::Write, TableKind::Operators, Model::Neon, interval),
              (Bounds{1, 20, 1, 19, 0}));
}

TEST(RunPlan, IntervalsThatDoNotFitAreRefusedBeforeAnythingIsSent) {
    const QString bad = "Ошибка! Неверные границы данных!";
    EXPECT_EQ(refusal(Direction::Write, Model::DatecsMp550T, {"1", "100", "9950"}), bad);
    EXPECT_EQ(refusal(Direction::Write, Model::Neon, {"200", "101", "1"}), bad);
    EXPECT_EQ(refusal(Direction::Read, Model::Neon, {"50", "40", "1"}), bad);
    EXPECT_EQ(refusal(Direction::Write, Model::Neon, {"0", "10", "1"}), bad);
    EXPECT_EQ(refusal(Direction::Write, Model::Neon, {"1", "10001", "1"}), bad);
    // Reading keeps within the goods the model has.
    EXPECT_EQ(refusal(Direction::Read, Model::DatecsMp50Junior, {"1", "6000", "1"}), bad);
    EXPECT_EQ(refusal(Direction::Read, Model::DatecsMp50Junior, {"1", "100", "4950"}), bad);
    EXPECT_TRUE(planTableRun(Direction::Read, TableKind::Goods, Model::DatecsMp50Junior,
                             IntervalTexts{"4901", "5000", "4901"})
                    .plan);

    EXPECT_EQ(refusal(Direction::Write, Model::Neon, {"1", "10", ""}), "'' is not a valid integer value");
    EXPECT_EQ(refusal(Direction::Read, Model::Neon, {"1", "1.5", "1"}),
              "'1.5' is not a valid integer value");
}

}  // namespace
}  // namespace tabulon::transfer
