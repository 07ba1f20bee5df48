// The clock's texts for a screen reader, and a label's caption as a name.
#include "rules/spoken_clock.h"
#include "toolkit/string_rules.h"

#include <gtest/gtest.h>

TEST(SpokenClock, TimeDateAndAlarmAsAReaderSpeaksThem) {
    EXPECT_EQ(SpokenTime({2026, 12, 8, 14, 5, 59}), "14:05");
    EXPECT_EQ(SpokenDate({2026, 12, 8}), "Dienstag, 8. Dezember 2026");
    EXPECT_EQ(SpokenDate({2024, 2, 29}), "Donnerstag, 29. Februar 2024");
    EXPECT_EQ(SpokenDate({2024, 3, 1}), "Freitag, 1. März 2024");
    EXPECT_EQ(SpokenDate({2100, 3, 1}), "Montag, 1. März 2100");
    EXPECT_EQ(SpokenAlarm("07", "30"), "Wecker 07:30");
    EXPECT_EQ(SpokenAlarm("7", "5"), "Wecker 07:05");
    EXPECT_EQ(SpokenAlarm("", ""), "");
    EXPECT_EQ(LabelName("Weck&sound:"), "Wecksound");
    EXPECT_EQ(LabelName("A && B"), "A & B");
}
