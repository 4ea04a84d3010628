#include <gtest/gtest.h>

#include "catalogue/grid_model.h"
#include "support/grid_marks.h"

namespace tabulon {
namespace {

// The marked cells after `steps` on a grid of 2 columns and 4 rows, "|", the
// rows a write of the changed rows sends ("?": unknown), "*" if edited. Steps:
// "2.1=a" typed or pasted ("_" a blank), "2:a,b" the program's write, "empty",
// "start" (a run begins), "w1,2" (read or written), "known" (the whole table),
// "saved", "opened", "other" (register), "c3.2=5" (compared: field 2 of row
// 3 is "5" there, the rest equal); after "~", the rows a write of the
// differing rows sends, once compared.
std::string marksAfter(const QString& steps) {
    GridModel grid(3, 5);
    std::optional<quint64> start;
    const auto settle = [&](auto change) { grid.settleMarks(change); };
    for (QString step : steps.split(' ', Qt::SkipEmptyParts)) {
        step.replace('_', ' ');
        const quint64 since = start.value_or(grid.marks().stamp());
        const QString text = step.section('=', 1);
        const int row = step.mid(step.front().isDigit() ? 0 : 1, 1).toInt();
        const int column = step.section('=', 0, 0).section('.', 1).toInt();
        if (step.front().isDigit() && step.contains('=')) {
            grid.setData(grid.index(row - 1, column - 1), text);
        } else if (step.front().isDigit()) {
            grid.setRowCells(row, step.section(':', 1).split(','));
        } else if (step.front() == 'c') {
            settle([&](RowMarks& m) {
                m.compared({1, 2, 3, 4}, {{row, {{column, text}}}}, {}, since);
            });
        } else if (step.front() == 'w' && step != "w") {
            QList<int> rows;
            for (const QString& n : step.mid(1).split(',')) rows << n.toInt();
            settle([&](RowMarks& m) { m.transferred(rows, since); });
        } else if (step == "empty") {
            grid.emptyRows();
        } else if (step == "start") {
            start = grid.marks().stamp();
        } else if (step == "known") {
            settle([&](RowMarks& m) { m.transferred(std::nullopt, since); });
        } else if (step == "saved") {
            settle([](RowMarks& m) { m.saved(); });
        } else if (step == "opened") {
            settle([](RowMarks& m) { m.opened(); });
        } else if (step == "other") {
            settle([](RowMarks& m) { m.registerChanged(); });
        }
    }
    QStringList sent;
    for (int row : grid.marks().changedForRegister().value_or(QList<int>{-1}))
        sent << (row < 0 ? QStringLiteral("?") : QString::number(row));
    QString differing;
    for (int row : grid.marks().differingRows().value_or(QList<int>()))
        differing += QStringLiteral(" %1").arg(row);
    return (testing::cellMarks(grid, 4).join(' ') + " |" + sent.join(' ') +
            (grid.marks().anyEdited() ? "*" : "") +
            (grid.marks().differingRows() ? " ~" + differing : QString()))
        .toStdString();
}

TEST(RowMarks, TheUsersChangesCountAgainstTheFileAndTheRegister) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.1=a", "1.1e |1*"},
        {"2:x,y 2.2=Хліб_білий", "2.2e |2*"},  // pasted over what a file gave
        {"1.1=a 1.1=", " |"},                  // typed back
        {"1:a, 4:c,d empty", "1.1e 4.1e 4.2e |1 4*"},
        {"empty", " |"},  // an empty grid emptied
        {"known 2.1=a 4.2=b", "2.1e 4.2e |2 4*"},
        {"known 2.1=a saved", " |2"},
        {"1:p, known 1.1=q saved 1.1=p", "1.1e |*"},  // back as the register holds it
        {"known 1.1=a 2.1=b w1", "2.1e |2*"},
        {"known start 1.1=a w1", "1.1e |1*"},  // typed while the run went on
        {"1.1=a c3.2=5", "1.1e 3.2d |* ~ 3"},
        {"c3.2=5 3.2=6", "3.2e |3* ~ 3"},
        {"3.1=a c3.2=5", "3.1e 3.2d |3* ~ 3"},    // compared before it was written
        {"c3.2=5 1.1=a", "1.1e 3.2d |1* ~ 1 3"},  // changed since
        {"other 1.1=a opened 2.1=b", "2.1e |2*"},
        {"1.1=a other", "1.1e |?*"},
    };
    for (const auto& [steps, marks] : cases) EXPECT_EQ(marksAfter(steps), marks) << steps;
}

}  // namespace
}  // namespace tabulon
