#include "catalogue/grid_catalogue.h"
#include "command_fixture.h"
#include "files/file_layout.h"

namespace tabulon::files {
namespace {

using testing::FileCommandTest;
using testing::readFile;

const Model kModels[] = {Model::DatecsMp550T, Model::DatecsMp50Junior, Model::Neon};

// A text per cell that tells where it came from, with letters from both
// halves of the code page.
QString cellText(int row, int column) {
    return QStringLiteral("р%1к%2 x").arg(row).arg(column);
}

TEST_F(FileCommandTest, EveryGridTabRoundTripsForEveryModel) {
    for (Model model : kModels) {
        for (int tab = 0; tab < kGridTableCount; ++tab) {
            const TableKind kind = tableKindOfTab(tab);
            const GridFileLayout layout = gridFileLayout(kind, model);
            GridModel& table = grid(kind);
            for (int row = 1; row < table.gridRows(); ++row)
                for (int column = 1; column < table.gridColumns(); ++column)
                    table.setCell(row, column, cellText(row, column));

            const QString name = path(QStringLiteral("t%1-%2").arg(tab).arg(int(model)));
            ASSERT_EQ(save(tab, model, name), FileCommandResult::Done);
            EXPECT_EQ(readFile(name).count("\r\n"), layout.lines);

            for (int row = 1; row < table.gridRows(); ++row)
                for (int column = 1; column < table.gridColumns(); ++column)
                    table.setCell(row, column, "cleared");
            ASSERT_EQ(open(tab, model, name), FileCommandResult::Done);
            for (int row = 1; row < table.gridRows(); ++row) {
                const bool inFile = row <= layout.lines;
                for (int column = 1; column < table.gridColumns(); ++column)
                    ASSERT_EQ(table.cell(row, column), inFile ? cellText(row, column) : "cleared")
                        << "tab " << tab << " row " << row << " column " << column;
            }
        }
    }
    EXPECT_TRUE(dialogs_.messages().isEmpty());
}

TEST_F(FileCommandTest, EveryParameterTabRoundTripsForEveryModel) {
    for (Model model : kModels) {
        for (int tab = 5; tab <= 7; ++tab) {
            for (int edit = 5; edit <= 37; ++edit)
                fields_.setFieldText(QStringLiteral("Edit%1").arg(edit),
                                     QStringLiteral("значение %1").arg(edit));
            const QString name = path(QStringLiteral("p%1-%2").arg(tab).arg(int(model)));
            ASSERT_EQ(save(tab, model, name), FileCommandResult::Done);

            for (int edit = 5; edit <= 37; ++edit)
                fields_.setFieldText(QStringLiteral("Edit%1").arg(edit), "cleared");
            ASSERT_EQ(open(tab, model, name), FileCommandResult::Done);
            const QStringList inFile = parameterFileLayout(parameterSetOfTab(tab), model).fields;
            for (int edit = 5; edit <= 37; ++edit) {
                const QString field = QStringLiteral("Edit%1").arg(edit);
                EXPECT_EQ(fields_.fieldText(field), inFile.contains(field)
                                                        ? QStringLiteral("значение %1").arg(edit)
                                                        : "cleared")
                    << field.toStdString() << " tab " << tab << " model " << int(model);
            }
        }
    }
    EXPECT_TRUE(dialogs_.messages().isEmpty());
}

}  // namespace
}  // namespace tabulon::files
