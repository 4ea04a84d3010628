// What a terminal shows while a fleet runs: the summary line with the time
// left for the whole fleet, and the running registers that fit below it.
#include "cli/fleet_board.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cli/fleet_grid_files.h"
#include "support/file_bytes.h"
#include "support/qt_print.h"

namespace tabulon::cli {
namespace {

TEST(FleetBoard, SummaryLine) {
    const struct {
        FleetTally tally;
        int elapsedMs;
        QString line;
    } rows[] = {
        // clang-format off
        {{256, 0, 0, 64, 0, 0, 0, 0}, 2000,
         "fleet: 0 done, 0 failed, 64 running, 192 waiting, time left unknown"},
        // 6400 + 69 x 200 records left at 100 a second: 202 s.
        {{256, 120, 3, 64, 30000, 6400, 184, 36800}, 300000,
         "fleet: 120 done, 3 failed, 64 running, 69 waiting, about 4 min left"},
        // No records counted: 5 registers left at one every 2 s.
        {{10, 4, 1, 2, 0, 0, 0, 0}, 10000,
         "fleet: 4 done, 1 failed, 2 running, 3 waiting, about 10 s left"},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(fleetSummary(row.tally, std::chrono::milliseconds(row.elapsedMs)), row.line);
}

TEST(FleetBoard, LinesThatFitTheTerminal) {
    const QList<std::pair<QString, QString>> running{{"kassa-1", "goods: 10 of 200 records"},
                                                     {"kassa-2", "goods: 20 of 200 records"}};
    const QString summary = "fleet: 0 done, 0 failed, 2 running, 0 waiting, time left unknown";
    const QString first = "kassa-1: goods: 10 of 200 records";
    const struct {
        int width;
        int height;
        QStringList lines;
    } rows[] = {
        {79, 23, {summary, first, "kassa-2: goods: 20 of 200 records"}},
        {79, 2, {summary, first}},
        {20, 3, {"fleet: 0 done,", "0 failed, 2 running,", "0 waiting,"}},
        // Wider than a 60-column terminal: the time left on a line of its own.
        {59, 3, {"fleet: 0 done, 0 failed, 2 running, 0 waiting,", "time left unknown", first}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(boardLines(summary, running, row.width, row.height), row.lines);
}

// A table file the registers share is held for those still to ask for it.
TEST(FleetGridFiles, GridLetGoWithTheLastRegisterThatNamesIt) {
    QTemporaryDir directory;
    const QString path = directory.filePath("prices.art");
    testing::writeFile(path, testing::repeatedLines(";;;;;;;;;;", 5));
    FleetGridFiles files({{path, 3}});
    QList<bool> held;
    for (int ask = 0; ask < 3; ++ask) {
        const std::weak_ptr<const GridModel> grid =
            files.load(path, TableKind::Goods, Model::DatecsMp550T, 5).grid;
        held << !grid.expired();
    }
    EXPECT_EQ(held, (QList<bool>{true, true, false}));
}

}  // namespace
}  // namespace tabulon::cli
