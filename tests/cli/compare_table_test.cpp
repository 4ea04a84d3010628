// compare-table and write-table --only-differing on a simulated Neon: its
// departments are "Відділ 1" to "Відділ 20", its goods 2 a loaf at 14.00.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "in_process.h"
#include "run_outcome_files.h"
#include "support/qt_print.h"

namespace tabulon::cli {
namespace {

using namespace testing;

QStringList departments(const QString& third = "Відділ 3;", const QString& seventh = "Відділ 7;") {
    QStringList lines;
    for (int i = 1; i <= 20; ++i) lines << QStringLiteral("Відділ %1;").arg(i);
    lines[2] = third;
    lines[6] = seventh;
    return lines;
}

QStringList reads(int table, int first, int last) {
    QStringList commands;
    for (int record = first; record <= last; ++record)
        commands << QStringLiteral("R%1;%2;").arg(table).arg(record);
    return commands;
}

class CompareTable : public ::testing::Test {
protected:
    void SetUp() override { QDir::setCurrent(directory.path()); }
    void TearDown() override { QDir::setCurrent(start); }
    QString start = QDir::currentPath();
    QTemporaryDir directory;
};

TEST_F(CompareTable, WhatDiffersWhatWasNotReadAndWhatIsNoComparison) {
    writeFile("same.otd", cp1251Lines(departments()));
    writeFile("changed.otd", cp1251Lines(departments("Склад 3;", ";")));
    writeFile("goods.art",
              cp1251Lines({";;;;;;;;;;", ";;;;;;;;;;",
                           "2;Батон нарізний;14.50;100.000;1;1;1;1;0;4820000000002;",
                           "3;Молоко 2.5% 1л;24.90;100.000;2;1;1;1;0;4820000000003;"}));
    const QString name = R"x(column "Название отдела (22 символа)")x";
    const struct {
        QString arguments;
        int errorReplies;  // "E" replies before the register answers
        int status;
        QString output;
        QString error;
        QStringList commands;
    } cases[] = {
        {"compare-table departments same.otd", 0, 0,
         "departments: no row differs (20 rows compared)\n", "", reads(10, 1, 20)},
        {"compare-table departments changed.otd", 0, 1,
         "row 3 (record 3), " + name +
             ": file \"Склад 3\", register \"Відділ 3\"\nrow 7 (record 7), " + name +
             ": file \"\", register \"Відділ 7\"\ndepartments: 2 of 20 rows differ\n",
         "", reads(10, 1, 20)},
        {"--interval 3:4:2 compare-table goods goods.art", 0, 1,
         "row 3 (record 2), column \"Цена\": file \"14.50\", register \"14.00\"\ngoods: 1 of 2 "
         "rows differs\n",
         "", reads(0, 2, 3)},
        // Record 1 fails its ten attempts and is skipped: it may differ.
        {"--on-failure skip compare-table departments same.otd", 100, 1,
         "departments: 19 of 20 rows compared, 0 differ\n", "rows not read, not compared: 1",
         QStringList(100, "R10;1;") + reads(10, 2, 20)},
        {"compare-table cash same.otd", 0, 2, "",
         "cash is no grid table: compare-table takes goods, operators, payments, departments, "
         "header",
         QStringList()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.toStdString());
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->faults().errorReplies = sim::Fault::times(c.errorReplies);
        const InProcessRun run = runInProcess(sim, ("--model neon " + c.arguments).split(' '));
        EXPECT_EQ(run.result.status, c.status);
        EXPECT_EQ(run.result.output, c.output);
        EXPECT_EQ(run.result.error, c.error);
        EXPECT_EQ(commandTexts(sim), c.commands);
    }
}

// Record 1 cannot be read: its state is unknown, so it is written with the
// two rows that differ.
TEST_F(CompareTable, OnlyTheDifferingRowsAreWritten) {
    writeFile("d.otd", cp1251Lines(departments("Склад 3;", ";")));
    const QStringList write =
        QString("--model neon --on-failure skip write-table departments d.otd --only-differing")
            .split(' ');
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.ecr->faults().errorReplies = sim::Fault::times(100);
    const InProcessRun first = runInProcess(sim, write);
    EXPECT_EQ(first.result.status, 0) << qPrintable(first.result.error);
    EXPECT_EQ(first.result.output, "departments: 3 records written\n");
    EXPECT_EQ(first.messages.value(1),
              "rows not read, their state unknown; written all the same: 1");
    const QStringList writes{"W10;1;Відділ 1;", "W10;3;Склад 3;", "W10;7;;"};
    EXPECT_EQ(commandTexts(sim), QStringList(100, "R10;1;") + reads(10, 2, 20) + writes);

    // Record 5 refused, the comparison ends: nothing written, none counted so.
    sim::SimulatedLink refusing = sim::makeSimulatedLink(sim::Model::Neon);
    refusing.ecr->scriptReplies([](QByteArrayView c) {
        return c == "R10;5;" ? std::optional<QByteArray>("E0;") : std::nullopt;
    });
    const RunTally tally = runInProcess(refusing, write.mid(0, 2) + write.mid(4)).tally;
    EXPECT_EQ(QList<int>({tally.done, tally.failed, tally.skipped}), QList<int>({0, 1, 19}));
}

}  // namespace
}  // namespace tabulon::cli
