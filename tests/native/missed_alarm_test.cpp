#include "rules/missed_alarm.h"

#include <gtest/gtest.h>

TEST(MissedAlarm, OnlyAnAlarmMinuteWhollyAsleepIsReported) {
    struct Case {
        const char* what;
        LocalTime asleep, awake;
        bool on, missed;
    } cases[] = {
        {"over it", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 8, 0, 0}, true, true},
        {"alarm off", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 8, 0, 0}, false, false},
        {"before it", {2024, 3, 1, 6, 0, 0}, {2024, 3, 1, 7, 29, 59}, true, false},
        {"across midnight", {2024, 3, 1, 23, 50, 0}, {2024, 3, 2, 7, 40, 0}, true, true},
        {"across the year's end", {2023, 12, 31, 23, 0, 0}, {2024, 1, 1, 8, 0, 0}, true, true},
        {"across the leap day", {2024, 2, 28, 12, 0, 0}, {2024, 3, 1, 6, 0, 0}, true, true},
        {"across midnight, not reached",
         {2024, 3, 1, 23, 50, 0},
         {2024, 3, 2, 0, 10, 0},
         true,
         false},
        {"under a minute, over second 00",
         {2024, 3, 1, 7, 29, 40},
         {2024, 3, 1, 7, 30, 10},
         true,
         false},
        {"asleep in the alarm minute", {2024, 3, 1, 7, 30, 5}, {2024, 3, 1, 9, 0, 0}, true, false},
        {"awake in the alarm minute", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 7, 30, 59}, true, false},
        {"awake in the minute after", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 7, 31, 0}, true, true},
        {"alarm minute to alarm minute",
         {2024, 3, 1, 7, 30, 30},
         {2024, 3, 2, 7, 30, 0},
         true,
         false},
        {"clock set back", {2024, 3, 1, 8, 0, 0}, {2024, 3, 1, 7, 0, 0}, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MissedAlarmNotice(c.asleep, c.awake, {"07:30", c.on, false, ""}).has_value(),
                  c.missed)
            << c.what;
    }
}

TEST(MissedAlarm, NoticeNamesTheTimeTheMessageAndTheOneShotThatStays) {
    const LocalTime asleep{2024, 3, 1, 23, 0, 0}, awake{2024, 3, 2, 0, 30, 0};
    EXPECT_EQ(MissedAlarmNotice(asleep, awake, {"00:00", true, false, ""}),
              "Der Wecker für 00:00 Uhr hat nicht geklingelt, weil der Computer zu dieser Zeit "
              "im Ruhezustand war.");
    EXPECT_EQ(MissedAlarmNotice(asleep, awake, {"00:00", true, true, "Zug um 8"}),
              "Der Wecker für 00:00 Uhr hat nicht geklingelt, weil der Computer zu dieser Zeit "
              "im Ruhezustand war.\n\nMeldung: Zug um 8\n\nDer einmalige Wecker bleibt "
              "unverändert eingestellt und klingelt das nächste Mal um 00:00 Uhr.");
}
