// compare-table and write-table --only-differing against a simulated Neon,
// whose departments are "Відділ 1" to "Відділ 20" and whose goods 1 to 3 are
// bread at 12.50, a loaf at 14.00 and milk at 24.90.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "in_process.h"
#include "run_outcome_files.h"
#include "support/qt_print.h"

namespace tabulon::cli {
namespace {

using namespace testing;

QStringList departments() {
    QStringList lines;
    for (int i = 1; i <= 20; ++i) lines << QStringLiteral("Відділ %1;").arg(i);
    return lines;
}

QStringList reads(int table, int first, int last) {
    QStringList commands;
    for (int record = first; record <= last; ++record)
        commands << QStringLiteral("R%1;%2;").arg(table).arg(record);
    return commands;
}

const QString kColumn = R"x(column "Название отдела (22 символа)")x";

TEST(CompareTable, WhatDiffersWhatWasNotReadAndWhatIsNoComparison) {
    QTemporaryDir directory;
    const auto file = [&](const QString& name, const QStringList& lines) {
        writeFile(directory.filePath(name), cp1251Lines(lines));
        return directory.filePath(name);
    };
    QStringList changed = departments();
    changed[2] = "Склад 3;";
    changed[6] = ";";
    const QString same = file("same.otd", departments());
    const QString goods =
        file("goods.art",
             {";;;;;;;;;;", ";;;;;;;;;;", "2;Батон нарізний;14.50;100.000;1;1;1;1;0;4820000000002;",
              "3;Молоко 2.5% 1л;24.90;100.000;2;1;1;1;0;4820000000003;"});
    const QString badPrice = file("bad.art", {"1;Хліб;abc;1.000;1;1;1;1;0;0;"});
    const QString missing = directory.filePath("none.otd");
    QStringList skippedReads = QStringList(100, "R10;1;") + reads(10, 2, 20);

    const struct {
        QStringList arguments;
        int errorReplies;  // "E" replies before the register answers
        int status;
        QString output;
        QString error;
        QStringList commands;
    } cases[] = {
        {{"compare-table", "departments", same},
         0,
         0,
         "departments: no row differs (20 rows compared)\n",
         "",
         reads(10, 1, 20)},
        {{"compare-table", "departments", file("changed.otd", changed)},
         0,
         1,
         "row 3 (record 3), " + kColumn +
             ": file \"Склад 3\", register \"Відділ 3\"\n"
             "row 7 (record 7), " +
             kColumn +
             ": file \"\", register \"Відділ 7\"\n"
             "departments: 2 of 20 rows differ\n",
         "",
         reads(10, 1, 20)},
        {{"--interval", "3:4:2", "compare-table", "goods", goods},
         0,
         1,
         "row 3 (record 2), column \"Цена\": file \"14.50\", register \"14.00\"\n"
         "goods: 1 of 2 rows differ\n",
         "",
         reads(0, 2, 3)},
        // Record 1 fails its ten attempts and is skipped: it may differ.
        {{"--on-failure", "skip", "compare-table", "departments", same},
         100,
         1,
         "departments: 19 of 20 rows compared, 0 differ\n",
         "rows not read, not compared: 1",
         skippedReads},
        // Stopped there: nothing after it was compared.
        {{"compare-table", "departments", same},
         100,
         1,
         "departments: 0 of 20 rows compared, 0 differ\n",
         "rows not read, not compared: 1-20",
         QStringList(100, "R10;1;")},
        {{"--interval", "1:1:1", "compare-table", "goods", badPrice},
         0,
         2,
         "",
         "row 1, column 3: 'abc' is not a valid floating point value\nnothing was read",
         {}},
        {{"compare-table", "departments", missing},
         0,
         2,
         "",
         missing + ": cannot open: No such file or directory",
         {}},
        {{"compare-table", "cash", same},
         0,
         2,
         "",
         "cash is no grid table: compare-table takes goods, operators, payments, departments, "
         "header",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
        sim.ecr->faults().errorReplies = sim::Fault::times(c.errorReplies);
        const InProcessRun run = runInProcess(sim, QStringList{"--model", "neon"} + c.arguments);
        EXPECT_EQ(run.result.status, c.status);
        EXPECT_EQ(run.result.output, c.output);
        EXPECT_EQ(run.result.error, c.error);
        EXPECT_EQ(commandTexts(sim), c.commands);
    }
}

// Record 1 cannot be read: its state is unknown, so it is written with the
// two rows that differ. Written, nothing differs any more.
TEST(CompareTable, OnlyTheDifferingRowsAreWritten) {
    QTemporaryDir directory;
    QStringList lines = departments();
    lines[2] = "Склад 3;";
    lines[6] = ";";
    const QString path = directory.filePath("d.otd");
    writeFile(path, cp1251Lines(lines));
    const QStringList write{"--model",     "neon",        "--on-failure", "skip",
                            "write-table", "departments", path,           "--only-differing"};
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::Neon);
    sim.ecr->faults().errorReplies = sim::Fault::times(100);

    const InProcessRun first = runInProcess(sim, write);
    EXPECT_EQ(first.result.status, 0) << qPrintable(first.result.error);
    EXPECT_EQ(first.result.output, "departments: 3 records written\n");
    EXPECT_EQ(first.messages,
              (QStringList{"record 1 failed ten times: the register refused the record (\"E\" "
                           "reply); skipped",
                           "rows not read, their state unknown; written all the same: 1"}));
    const QStringList writes{"W10;1;Відділ 1;", "W10;3;Склад 3;", "W10;7;;"};
    EXPECT_EQ(commandTexts(sim), QStringList(100, "R10;1;") + reads(10, 2, 20) + writes);

    sim.ecr->clearCommands();
    const InProcessRun again = runInProcess(sim, write);
    EXPECT_EQ(again.result.status, 0);
    EXPECT_EQ(again.result.output,
              "departments: no row differs from the register; nothing written\n");
    EXPECT_EQ(commandTexts(sim), reads(10, 1, 20));
}

}  // namespace
}  // namespace tabulon::cli
