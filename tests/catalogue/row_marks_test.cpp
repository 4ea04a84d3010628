#include <gtest/gtest.h>

#include <functional>

#include "catalogue/grid_model.h"

namespace tabulon {
namespace {

// A grid of two data columns and four data rows.
struct Grid {
    GridModel model{3, 5};
    void type(int row, int column, const QString& text) {
        model.setData(model.index(row - 1, column - 1), text);
    }
    // The program's own writes: a file opened, a register read.
    void put(int row, const QString& first, const QString& second) {
        model.setCell(row, 1, first);
        model.setCell(row, 2, second);
    }
    void settle(std::function<void(RowMarks&)> change) { model.settleMarks(change); }

    // "1.2e" an edited cell, "1.2d" one the register holds otherwise.
    std::string cellMarks() const {
        QStringList marks;
        for (int row = 1; row < 5; ++row)
            for (int column = 1; column < 3; ++column) {
                const auto mark = GridModel::CellMark(
                    model.data(model.index(row - 1, column - 1), GridModel::CellMarkRole).toInt());
                if (mark != GridModel::CellMark::None)
                    marks << QStringLiteral("%1.%2%3").arg(row).arg(column).arg(
                        mark == GridModel::CellMark::Edited ? 'e' : 'd');
            }
        return marks.join(' ').toStdString();
    }
    // The rows a write of the changed rows sends; "?" when nobody knows.
    std::string forRegister() const {
        const auto rows = model.marks().changedForRegister();
        if (!rows) return "?";
        QStringList names;
        for (int row : *rows) names << QString::number(row);
        return names.join(' ').toStdString();
    }
};

TEST(RowMarks, TheUsersChangesAreKeptAgainstTheFileAndTheRegister) {
    struct Case {
        const char* name;
        std::function<void(Grid&)> steps;
        std::string cells;
        bool edited;
        std::string forRegister;
    };
    const auto known = [](Grid& g) {
        g.settle([&](RowMarks& m) { m.transferred(std::nullopt, g.model.marks().stamp()); });
    };
    const Case cases[] = {
        {"typed", [](Grid& g) { g.type(1, 1, "a"); }, "1.1e", true, "?"},
        {"pasted over a row the file gave",
         [](Grid& g) {
             g.put(2, "x", "y");
             g.type(2, 2, "Хліб білий");
         },
         "2.2e", true, "?"},
        {"typed back as it was",
         [](Grid& g) {
             g.type(1, 1, "a");
             g.type(1, 1, "");
         },
         "", false, "?"},
        {"one of two cells typed back",
         [](Grid& g) {
             g.type(3, 1, "a");
             g.type(3, 2, "b");
             g.type(3, 1, "");
         },
         "3.2e", true, "?"},
        {"emptied: only the rows that held something",
         [](Grid& g) {
             g.put(1, "a", "");
             g.put(4, "c", "d");
             g.model.emptyRows();
         },
         "1.1e 4.1e 4.2e", true, "?"},
        {"an empty grid emptied", [](Grid& g) { g.model.emptyRows(); }, "", false, "?"},
        {"typed, register known",
         [&](Grid& g) {
             known(g);
             g.type(2, 1, "a");
             g.type(4, 2, "b");
         },
         "2.1e 4.2e", true, "2 4"},
        {"saved: the register still lacks it",
         [&](Grid& g) {
             known(g);
             g.type(2, 1, "a");
             g.settle([](RowMarks& m) { m.saved(); });
         },
         "", false, "2"},
        {"saved, then typed back as the register holds it",
         [&](Grid& g) {
             g.put(1, "p", "");
             known(g);
             g.type(1, 1, "q");
             g.settle([](RowMarks& m) { m.saved(); });
             g.type(1, 1, "p");
         },
         "1.1e", true, ""},
        {"one of two rows written",
         [&](Grid& g) {
             known(g);
             g.type(1, 1, "a");
             g.type(2, 1, "b");
             g.settle([&](RowMarks& m) { m.transferred(QList<int>{1}, m.stamp()); });
         },
         "2.1e", true, "2"},
        {"typed while the run went on",
         [&](Grid& g) {
             known(g);
             const quint64 atStart = g.model.marks().stamp();
             g.type(1, 1, "a");
             g.settle([&](RowMarks& m) { m.transferred(QList<int>{1}, atStart); });
         },
         "1.1e", true, "1"},
        {"compared: the register knows, the file does not",
         [](Grid& g) {
             g.type(1, 1, "a");
             g.type(2, 2, "b");
             g.settle([&](RowMarks& m) {
                 m.compared({1, 2, 3}, {{3, {RegisterCell{2, "5"}}}}, {}, m.stamp());
             });
         },
         "1.1e 2.2e 3.2d", true, ""},
        {"a differing cell typed into",
         [](Grid& g) {
             g.settle([&](RowMarks& m) {
                 m.compared({3}, {{3, {RegisterCell{1, "4"}, RegisterCell{2, "5"}}}}, {},
                            m.stamp());
             });
             g.type(3, 2, "6");
         },
         "3.1d 3.2e", true, "3"},
        {"a file opened after the register was known",
         [&](Grid& g) {
             known(g);
             g.type(1, 1, "a");
             g.settle([](RowMarks& m) { m.opened(); });
         },
         "", false, "?"},
        {"another register connected",
         [&](Grid& g) {
             known(g);
             g.type(1, 1, "a");
             g.settle([](RowMarks& m) { m.registerChanged(); });
         },
         "1.1e", true, "?"},
    };
    for (const Case& c : cases) {
        Grid g;
        c.steps(g);
        EXPECT_EQ(g.cellMarks(), c.cells) << c.name;
        EXPECT_EQ(g.model.marks().anyEdited(), c.edited) << c.name;
        EXPECT_EQ(g.forRegister(), c.forRegister) << c.name;
    }
}

}  // namespace
}  // namespace tabulon
