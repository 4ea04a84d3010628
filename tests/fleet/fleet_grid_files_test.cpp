// A table file a fleet's registers share is read once, and its grid let go
// once the last register that names it has taken it.
#include "cli/fleet_grid_files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/file_bytes.h"

namespace tabulon::cli {
namespace {

TEST(FleetGridFiles, GridHeldForTheRegistersStillToAsk) {
    QTemporaryDir directory;
    const QString path = directory.filePath("prices.art");
    testing::writeFile(path, testing::repeatedLines(";;;;;;;;;;", 5));
    const struct {
        int readers;            // asks the fleet counted for the file; 0: not counted
        QList<bool> heldAfter;  // whether the grid is still held after each ask
    } rows[] = {
        {1, {false}},
        {3, {true, true, false}},
        {0, {true, true}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.readers);
        FleetGridFiles files(row.readers ? QHash<QString, int>{{path, row.readers}}
                                         : QHash<QString, int>{});
        QList<bool> held;
        for (qsizetype ask = 0; ask < row.heldAfter.size(); ++ask) {
            const std::weak_ptr<const GridModel> grid =
                files.load(path, TableKind::Goods, Model::DatecsMp550T, 5).grid;
            held << !grid.expired();
        }
        EXPECT_EQ(held, row.heldAfter);
    }
}

}  // namespace
}  // namespace tabulon::cli
