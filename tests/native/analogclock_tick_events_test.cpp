#include "analogclock/tick_events_rules.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<ClockEventCall>;

TEST(ClockTickEvents, NothingWhenTheTimeIsUnchanged) {
    EXPECT_TRUE(ChangedClockEvents({10, 20, 30}, {10, 20, 30}).empty());
}

TEST(ClockTickEvents, OnlyTheSecond) {
    EXPECT_EQ(ChangedClockEvents({10, 20, 30}, {10, 20, 31}), (Calls{{ClockEvent::Second, 31}}));
}

TEST(ClockTickEvents, MidnightRaisesSecondMinuteHourInThatOrder) {
    EXPECT_EQ(ChangedClockEvents({23, 59, 59}, {0, 0, 0}),
              (Calls{{ClockEvent::Second, 0}, {ClockEvent::Minute, 0}, {ClockEvent::Hour, 0}}));
}

TEST(ClockTickEvents, TimeSetBackOneMinuteRaisesTheEarlierMinute) {
    EXPECT_EQ(ChangedClockEvents({12, 31, 10}, {12, 30, 10}), (Calls{{ClockEvent::Minute, 30}}));
}

TEST(ClockTickEvents, SkippedSecondsAreNotMadeUp) {
    EXPECT_EQ(ChangedClockEvents({8, 0, 5}, {8, 0, 17}), (Calls{{ClockEvent::Second, 17}}));
}

TEST(ClockTickEvents, HourChangeAloneStillComesAfterTheOthers) {
    // After a long stop the minute and second may happen to match again.
    EXPECT_EQ(ChangedClockEvents({7, 15, 0}, {9, 15, 0}), (Calls{{ClockEvent::Hour, 9}}));
    EXPECT_EQ(ChangedClockEvents({7, 15, 0}, {9, 16, 0}),
              (Calls{{ClockEvent::Minute, 16}, {ClockEvent::Hour, 9}}));
}

} // namespace
