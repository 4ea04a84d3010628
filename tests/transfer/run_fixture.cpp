#include "run_fixture.h"

#include "text/cp1251.h"

namespace tabulon::transfer {

void RunTest::useModel(Model model) {
    model_ = model;
    sim = sim::makeSimulatedLink(model);
    ASSERT_EQ(sim.link->OpenPort(1, 9600), 1);
}

RunParts RunTest::parts() {
    return RunParts{*sim.link, connection, dialogs, control, &rows, &rows, &rows, check};
}

RunOutcome RunTest::run(Direction direction, TableKind kind,
                        const std::optional<IntervalTexts>& interval) {
    const PlanResult planned = planTableRun(direction, kind, model_, interval);
    EXPECT_TRUE(planned.plan) << planned.error.toStdString();
    if (!planned.plan) return {};
    RunParts runParts = parts();
    return runTable(*planned.plan, runParts);
}

QStringList RunTest::commands() const {
    QStringList texts;
    for (const QByteArray& command : sim.ecr->commands()) texts << text::fromCp1251(command);
    return texts;
}

std::chrono::milliseconds RunTest::elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(sim.clock->now());
}

}  // namespace tabulon::transfer
