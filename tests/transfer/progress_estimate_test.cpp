#include "transfer/progress_estimate.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace tabulon::transfer {
namespace {

using namespace std::chrono_literals;

TEST(ProgressEstimateTest, TextSaysDoneTotalAndTimeLeft) {
    struct Case {
        int done;
        int total;
        std::chrono::nanoseconds elapsed;
        const char* text;
    };
    const Case cases[] = {
        // Nothing done yet, or too early for a rate: the counts alone.
        {0, 10000, 0s, "0 из 10 000"},
        {0, 10000, 60s, "0 из 10 000"},
        {15, 10000, 4999ms, "15 из 10 000"},
        // A goods write at 4800 baud: about 0.35 s a record.
        {1234, 10000, 1234 * 355ms, "1 234 из 10 000 · ещё ≈ 52 мин"},
        {15, 10000, 5s, "15 из 10 000 · ещё ≈ 56 мин"},
        // Over an hour: hours and minutes.
        {15, 10000, 6s, "15 из 10 000 · ещё ≈ 1 ч 07 мин"},
        {100, 10000, 100s, "100 из 10 000 · ещё ≈ 2 ч 45 мин"},
        // Minutes are rounded up: 61 s is two minutes left.
        {50, 111, 50s, "50 из 111 · ещё ≈ 2 мин"},
        {50, 110, 50s, "50 из 110 · ещё ≈ 1 мин"},
        // Under a minute: seconds in fives, rounded up.
        {100, 105, 100s, "100 из 105 · ещё ≈ 5 с"},
        {100, 101, 100s, "100 из 101 · ещё ≈ 5 с"},
        {100, 111, 100s, "100 из 111 · ещё ≈ 15 с"},
        {100, 159, 100s, "100 из 159 · ещё ≈ 1 мин"},
        {100, 158, 100s, "100 из 158 · ещё ≈ 1 мин"},
        {100, 155, 100s, "100 из 155 · ещё ≈ 55 с"},
        // Done: nothing left to estimate.
        {128, 128, 40s, "128 из 128"},
        {1, 1, 10s, "1 из 1"},
        // Numbers under a thousand and exactly a thousand.
        {999, 1000, 999s, "999 из 1 000 · ещё ≈ 5 с"},
        {7, 1000000, 7s, "7 из 1 000 000 · ещё ≈ 277 ч 47 мин"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(progressText(c.done, c.total, c.elapsed), QString::fromUtf8(c.text));
    }
}

TEST(ProgressEstimateTest, TimerCountsFromItsStartOnTheGivenClock) {
    auto clock = std::make_shared<link::VirtualClock>();
    clock->advance(100s);
    ProgressTimer timer(clock);
    timer.start();
    EXPECT_EQ(timer.elapsed(), 0s);
    clock->advance(90s);
    EXPECT_EQ(timer.elapsed(), 90s);
    timer.start();
    clock->advance(3s);
    EXPECT_EQ(timer.elapsed(), 3s);
}

}  // namespace
}  // namespace tabulon::transfer
