#include "analogclock/second_edge_rules.h"

#include <gtest/gtest.h>

TEST(SecondEdge, TheNextTickComesJustAfterTheNextSecondBegins) {
    constexpr std::int64_t day = 133'500'000'000'000'000; // a whole second, in 2024
    const struct {
        std::int64_t now, due;
    } cases[] = {
        {0, 15'000},
        {14'999, 15'000},     // woken a little early: the same edge again
        {15'000, 10'015'000}, // the tick itself aims at the next second
        {10'014'999, 10'015'000},
        {day + 5'000'000, day + 10'015'000},
        {day + 10'020'000, day + 20'015'000}, // a late tick does not carry its lateness on
        {-1, 15'000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextSecondTick(c.now), c.due) << c.now;
    }
}
