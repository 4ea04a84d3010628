// Ctrl-C while several registers run, each on its own thread: every run in
// hand is asked to stop, not only the one that listed itself last.
#include "cli/stop_signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

#include "transfer/run_parts.h"

namespace tabulon::cli {
namespace {

TEST(StopOnSignals, OneSignalStopsEveryRunListed) {
    transfer::RunControl fleet;
    transfer::RunControl first;
    transfer::RunControl second;
    transfer::RunControl later;
    {
        const StopOnSignals wholeRun(fleet);
        {
            const StopOnSignals one(first);
            const StopOnSignals two(second);
            std::raise(SIGINT);
            EXPECT_TRUE(one.caught());
            EXPECT_TRUE(two.caught());
        }
        // A run listed after the signal did not hear it.
        const StopOnSignals three(later);
        EXPECT_FALSE(three.caught());
        EXPECT_TRUE(wholeRun.caught());
    }
    for (const transfer::RunControl* control : {&fleet, &first, &second}) {
        EXPECT_TRUE(control->stopRequested);
        EXPECT_TRUE(control->resetRequested);
        EXPECT_TRUE(control->cancelled);
    }
    EXPECT_FALSE(later.stopRequested);
    EXPECT_FALSE(later.cancelled);
}

TEST(StopOnSignals, EveryRunHearsItHoweverManyAreListed) {
    // A fleet lists two for each register it works at once: its own and the
    // command's.
    for (const int count : {1, 511, 512, 2000}) {
        std::vector<transfer::RunControl> controls(static_cast<size_t>(count));
        {
            std::vector<std::unique_ptr<StopOnSignals>> guards;
            for (transfer::RunControl& control : controls)
                guards.push_back(std::make_unique<StopOnSignals>(control));
            std::raise(SIGINT);
        }
        int reached = 0;
        for (const transfer::RunControl& control : controls)
            reached += control.stopRequested && control.cancelled ? 1 : 0;
        EXPECT_EQ(reached, count);
    }
}

}  // namespace
}  // namespace tabulon::cli
