#include "link/line_bytes.h"
#include "run_fixture.h"
#include "sim/tables.h"
#include "support/qt_print.h"
#include "text/cp1251.h"

namespace tabulon::transfer {
namespace {

using sim::Fault;

QStringList writes(const QStringList& commands) {
    QStringList out;
    for (const QString& c : commands)
        if (c.startsWith(u'W')) out << c;
    return out;
}

TEST_F(RunTest, IntervalRowsGoIntoRecordsFromTheFirstRecordOn) {
    for (int row = 101; row <= 200; ++row) rows.rows[row] = {QString::number(row), "Товар"};
    const RunOutcome outcome = run(Direction::Write, TableKind::Goods, IntervalTexts{"101", "200", "1"});

    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.done, 100);
    const QStringList sent = commands();
    ASSERT_EQ(sent.size(), 100);
    EXPECT_EQ(sent.front(), "W0;1;101;Товар;0.00;0.000;;;;;;0;");
    EXPECT_EQ(sent.back(), "W0;100;200;Товар;0.00;0.000;;;;;;0;");
    ASSERT_EQ(rows.counters.size(), 100);
    EXPECT_EQ(rows.counters.front(), 1);
    EXPECT_EQ(rows.counters.back(), 100);
}

TEST_F(RunTest, JuniorGoodsRunOverItsFiveThousandRows) {
    useModel(Model::DatecsMp50Junior);
    sim.line->keepTranscript(false);
    rows.rows[5000] = {"5000", "Last"};
    const RunOutcome outcome = run(Direction::Write, TableKind::Goods);
    EXPECT_EQ(outcome.done, 5000);
    EXPECT_EQ(commands().back(), "W0;5000;5000;Last;0.00;0.000;;;;;;0;");
    EXPECT_EQ(rows.counters.back(), 5000);
}

TEST_F(RunTest, NeonPaymentTypesAreWrittenTwoToFourAndReadOneToFive) {
    useModel(Model::Neon);
    for (int row = 1; row <= 5; ++row) rows.rows[row] = {"1", "1", QStringLiteral("Оплата%1").arg(row), "0", "0"};
    run(Direction::Write, TableKind::PaymentTypes);
    EXPECT_EQ(commands(), (QStringList{"W9;2;1;1;Оплата2;0;0;", "W9;3;1;1;Оплата3;0;0;",
                                       "W9;4;1;1;Оплата4;0;0;"}));

    sim.ecr->clearCommands();
    const RunOutcome outcome = run(Direction::Read, TableKind::PaymentTypes);
    EXPECT_EQ(commands(), (QStringList{"R9;1;", "R9;2;", "R9;3;", "R9;4;", "R9;5;"}));
    EXPECT_EQ(outcome.done, 5);
    EXPECT_EQ(rows.arrived[1], (QStringList{"1", "1", "Готівка", "1", "0"}));
    EXPECT_EQ(rows.arrived[3], (QStringList{"1", "1", "Оплата3", "0", "0"}));
    EXPECT_EQ(rows.arrived.size(), 5);
}

TEST_F(RunTest, ARowThatMakesNoRecordStopsTheWriteBeforeAnythingIsSent) {
    rows.rows[1] = {"1", "Хлеб", "1.00"};
    rows.rows[7000] = {"7000", "Чай", "12,50"};
    const RunOutcome outcome = run(Direction::Write, TableKind::Goods);
    ASSERT_TRUE(outcome.refusal);
    EXPECT_EQ(*outcome.refusal, "'12,50' is not a valid floating point value\n"
                                "Строка 7000 таблицы \"Товары\", столбец \"Цена\": \"12,50\" не число.");
    EXPECT_TRUE(sim.line->sent().isEmpty());
    EXPECT_EQ(outcome.done, 0);
}

TEST_F(RunTest, StopEndsTheRunAfterTheRecordInHandAndResetsTheLinkBetweenRecords) {
    rows.onRecord = [&](int counter) {
        if (counter == 3) control.requestStop();
    };
    const RunOutcome outcome = run(Direction::Write, TableKind::Operators);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.done, 3);
    EXPECT_EQ(writes(commands()).size(), 3);
    // The release sequence and the pause of over a second, after the third
    // record's exchange and before anything else.
    EXPECT_TRUE(sim.line->sent().endsWith(link::releaseSequence(8, 8)));
    EXPECT_GT(elapsed().count(), 1000);
    EXPECT_FALSE(control.resetRequested);
}

TEST_F(RunTest, EachDialogAnswerDoesWhatItSays) {
    for (int row = 1; row <= 20; ++row) rows.rows[row] = {QString::number(row), "Op"};
    // Record 2 fails a whole series (ten silent selects) each time it is tried.
    sim.ecr->scriptReplies([](QByteArrayView) { return std::nullopt; });
    int closesBefore = sim.line->closes();

    struct Case {
        FailureAnswer answer;
        bool stopped;
        int reopened;
        int written;  // operator records the register saw
    };
    const Case cases[] = {
        {FailureAnswer::Skip, false, 1, 19},
        {FailureAnswer::End, true, 0, 1},
        {FailureAnswer::Dismissed, false, 0, 19},
    };
    for (const Case& c : cases) {
        sim.ecr->clearCommands();
        closesBefore = sim.line->closes();
        rows.onRecord = [&](int counter) {
            if (counter == 1) sim.ecr->faults().silent = Fault::times(5 * 10);
        };
        dialogs.answers = {c.answer};
        dialogs.asked.clear();
        control.stopRequested = false;
        const RunOutcome outcome = run(Direction::Write, TableKind::Operators);
        EXPECT_EQ(dialogs.asked, QList<int>{2}) << int(c.answer);
        EXPECT_EQ(outcome.stopped, c.stopped) << int(c.answer);
        EXPECT_EQ(sim.line->closes() - closesBefore, c.reopened) << int(c.answer);
        EXPECT_EQ(writes(commands()).size(), c.written) << int(c.answer);
        EXPECT_FALSE(writes(commands()).contains("W3;2;2;Op;;0;"));
        EXPECT_EQ(outcome.failedRecords, QList<int>{2});
    }

    // Retry: the port is reopened and a second series goes out, which succeeds.
    sim.ecr->clearCommands();
    closesBefore = sim.line->closes();
    dialogs.answers = {FailureAnswer::Retry};
    dialogs.asked.clear();
    const RunOutcome retried = run(Direction::Write, TableKind::Operators);
    EXPECT_EQ(dialogs.asked, QList<int>{2});
    EXPECT_EQ(sim.line->closes() - closesBefore, 1);
    EXPECT_EQ(writes(commands()).size(), 20);
    EXPECT_EQ(writes(commands())[1], "W3;2;2;Op;;0;");
    EXPECT_TRUE(retried.failedRecords.isEmpty());
    EXPECT_TRUE(sim.link->isOpen());
}

TEST_F(RunTest, ClearingWritesTheDefaultRecords) {
    sim.line->keepTranscript(false);
    const RunOutcome goods = run(Direction::Clear, TableKind::Goods);
    EXPECT_EQ(goods.done, 10000);
    const QStringList sent = commands();
    ASSERT_EQ(sent.size(), 10000);
    EXPECT_EQ(sent[0], "W0;1;1;Товар1;0.00;0.000;1;1;1;1;0;0;");
    EXPECT_EQ(sent[19], "W0;20;20;Товар20;0.00;0.000;1;1;1;1;0;0;");
    EXPECT_EQ(sent[20], "W0;21;0; ;0.00;0.000;1;1;1;1;0;0;");
    EXPECT_EQ(sent[9999], "W0;10000;0; ;0.00;0.000;1;1;1;1;0;0;");
    EXPECT_EQ(rows.counters.front(), 1);
    EXPECT_EQ(rows.counters.back(), 10000);

    useModel(Model::Neon);
    run(Direction::Clear, TableKind::PaymentTypes);
    EXPECT_EQ(commands(), (QStringList{"W9;2;1;1;Чек;0;0;", "W9;3;1;1;Кредит;0;0;",
                                       "W9;4;1;1;Картка;0;0;"}));
}

TEST_F(RunTest, ClearingLeavesRefusedRecordsAndSaysWhich) {
    // Departments 4 and 5 are refused with "E" ten times in each of their
    // ten attempts; the others go in.
    sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        if (command.startsWith("W10;4;") || command.startsWith("W10;5;")) return QByteArray("E2;");
        return std::nullopt;
    });
    const RunOutcome outcome = run(Direction::Clear, TableKind::Departments);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.done, 18);
    EXPECT_EQ(outcome.failedRecords, (QList<int>{4, 5}));
    EXPECT_TRUE(dialogs.asked.isEmpty());
    // Nine pauses of a second for each refused record.
    EXPECT_GE(elapsed().count(), 18000);
    EXPECT_LT(elapsed().count(), 20000);
    EXPECT_EQ(commands().count("W10;4;" + text::fromCp1251(sim::cp1251("4;Відділ4;"))), 0);
}

TEST_F(RunTest, AReplyWithTooManyFieldsEndsTheReadAShortOneFillsWhatItHas) {
    sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        if (command == "R3;3;") return QByteArray("3;3;33;");  // password only: short
        if (command == "R3;5;") return QByteArray("3;5;55;Five;1;extra;");
        return std::nullopt;
    });
    const RunOutcome outcome = run(Direction::Read, TableKind::Operators);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(dialogs.badData, QList<int>{5});
    // Record 5 put its leading fields into the row but was not read whole.
    EXPECT_EQ(outcome.done, 4);
    EXPECT_TRUE(outcome.failedRecords.isEmpty());
    EXPECT_EQ(rows.arrived[3], QStringList{"33"});
    EXPECT_EQ(rows.arrived[5], (QStringList{"55", "Five", "1"}));
    EXPECT_EQ(rows.arrived.lastKey(), 5);
    EXPECT_EQ(commands().back(), "R3;5;");
}

// However the last record ends the run, a stop that came with it counts.
TEST_F(RunTest, AStopThatComesWithTheLastRecordEndsTheRunAsStopped) {
    sim.ecr->scriptReplies([](QByteArrayView c) -> std::optional<QByteArray> {
        if (c == "R10;20;") return QByteArray("10;20;Отдел;лишнее;");
        if (c.startsWith("W3;20;")) return QByteArray("E2;");
        return std::nullopt;
    });
    EXPECT_TRUE(run(Direction::Read, TableKind::Departments).stopped);
    EXPECT_EQ(dialogs.badData, QList<int>{20});

    control.stopRequested = false;
    dialogs.answers = {FailureAnswer::End};
    EXPECT_TRUE(run(Direction::Write, TableKind::Operators).stopped);

    control.stopRequested = false;
    sim.ecr->scriptReplies({});
    rows.onRecord = [&](int counter) {
        if (counter == 12) control.requestStop();
    };
    EXPECT_TRUE(run(Direction::Write, TableKind::HeaderText).stopped);
    EXPECT_FALSE(control.resetRequested);  // the release went out at the end
}

TEST_F(RunTest, ParameterSetsAreWrittenAndReadOnEveryModel) {
    for (Model model : {Model::DatecsMp550T, Model::DatecsMp50Junior, Model::Neon}) {
        useModel(model);
        RunParts runParts = parts();
        EXPECT_EQ(writeParameters(ParameterSet::ReceiptParameters, "1;2;3;4;5;6;7;8;", runParts),
                  RecordOutcome::Done);
        const std::optional<QByteArray> reply = readParameters(ParameterSet::ReceiptParameters, runParts);
        ASSERT_TRUE(reply);
        EXPECT_EQ(*reply, "5;1;1;2;3;4;5;6;7;8;");
        EXPECT_EQ(commands(), (QStringList{"W5;1;1;2;3;4;5;6;7;8;", "R5;1;"}));
    }
}

TEST_F(RunTest, SkippingTheServiceParametersAlsoResetsTheLink) {
    sim.ecr->faults().silent = Fault::always();
    dialogs.answers = {FailureAnswer::Skip};
    RunParts runParts = parts();
    EXPECT_EQ(writeParameters(ParameterSet::ServiceParameters, "1;", runParts), RecordOutcome::Skipped);
    EXPECT_TRUE(sim.line->sent().endsWith(link::releaseSequence(8, 8)));
    const auto afterService = elapsed();

    dialogs.answers = {FailureAnswer::Skip};
    sim.line->clearTranscript();
    EXPECT_EQ(writeParameters(ParameterSet::ReceiptParameters, "1;", runParts), RecordOutcome::Skipped);
    EXPECT_LT((elapsed() - afterService).count(), 10 * 1600);  // ten failed selects, no pause
    EXPECT_FALSE(readParameters(ParameterSet::CashRegisterParameters, runParts));
}

}  // namespace
}  // namespace tabulon::transfer
