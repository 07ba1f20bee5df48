#include "rules/missed_alarm.h"

#include <gtest/gtest.h>

TEST(MissedAlarm, OnlyAnAlarmMinuteWhollyAsleepIsReported) {
    struct Case {
        const char* what;
        LocalTime asleep, awake;
        bool missed;
    } cases[] = {
        {"over it", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 8, 0, 0}, true},
        {"before it", {2024, 3, 1, 6, 0, 0}, {2024, 3, 1, 7, 29, 59}, false},
        {"across midnight", {2024, 3, 1, 23, 50, 0}, {2024, 3, 2, 7, 40, 0}, true},
        {"across midnight, short", {2024, 3, 1, 23, 50, 0}, {2024, 3, 2, 0, 10, 0}, false},
        {"across the year's end", {2023, 12, 31, 23, 0, 0}, {2024, 1, 1, 8, 0, 0}, true},
        {"across the leap day", {2024, 2, 28, 12, 0, 0}, {2024, 3, 1, 6, 0, 0}, true},
        {"under a minute, over :00", {2024, 3, 1, 7, 29, 40}, {2024, 3, 1, 7, 30, 10}, false},
        {"asleep in its minute", {2024, 3, 1, 7, 30, 5}, {2024, 3, 1, 9, 0, 0}, false},
        {"awake in its minute", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 7, 30, 59}, false},
        {"awake a minute later", {2024, 3, 1, 7, 0, 0}, {2024, 3, 1, 7, 31, 0}, true},
        {"its minute to the next", {2024, 3, 1, 7, 30, 30}, {2024, 3, 2, 7, 30, 0}, false},
        {"clock set back", {2024, 3, 1, 8, 0, 0}, {2024, 3, 1, 7, 0, 0}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MissedAlarmNotice(c.asleep, c.awake, {"07:30", true, false, ""}).has_value(),
                  c.missed)
            << c.what;
        EXPECT_FALSE(MissedAlarmNotice(c.asleep, c.awake, {"07:30", false, true, ""})) << c.what;
    }
}

TEST(MissedAlarm, NoticeNamesTheTimeTheMessageAndTheOneShotThatStays) {
    const LocalTime asleep{2024, 3, 1, 23, 0, 0}, awake{2024, 3, 2, 0, 30, 0};
    const std::string told = "Der Wecker für 00:00 Uhr hat nicht geklingelt, weil der Computer "
                             "zu dieser Zeit im Ruhezustand war.";
    EXPECT_EQ(MissedAlarmNotice(asleep, awake, {"00:00", true, false, ""}), told);
    EXPECT_EQ(MissedAlarmNotice(asleep, awake, {"00:00", true, true, "Zug um 8"}),
              told + "\n\nMeldung: Zug um 8\n\nDer einmalige Wecker bleibt unverändert "
                     "eingestellt und klingelt das nächste Mal um 00:00 Uhr.");
}
