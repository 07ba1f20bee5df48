#include "rules/alarm_wake.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

long long Utc(int year, int month, int day, int hour, int minute) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    return static_cast<long long>(timegm(&fields));
}

// A zone of a fixed offset, an hour more from summerStart until summerEnd (UTC).
LocalTimeAt Zone(int offsetMinutes, long long summerStart = 0, long long summerEnd = 0) {
    return [=](long long utc) {
        const bool summer = utc >= summerStart && utc < summerEnd;
        const std::time_t shifted = utc + (offsetMinutes + (summer ? 60 : 0)) * 60;
        std::tm fields{};
        gmtime_r(&shifted, &fields);
        return LocalTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                         fields.tm_hour,        fields.tm_min,     fields.tm_sec};
    };
}

} // namespace

TEST(AlarmWake, TheTimerStandsAtTheUtcMomentTheNextAlarmMinuteBegins) {
    // Central Europe in 2024: summer time from 31 March to 27 October, 01:00 UTC.
    const LocalTimeAt berlin = Zone(60, Utc(2024, 3, 31, 1, 0), Utc(2024, 10, 27, 1, 0));
    const LocalTimeAt newYork = Zone(-5 * 60);
    const std::optional<long long> none;
    const struct {
        const char* what;
        LocalTime now;
        const char* time;
        bool on, oneShot, wake;
        std::optional<ClockMinute> rung;
        const LocalTimeAt& zone;
        std::optional<long long> due;
    } cases[] = {
        {"today",
         {2024, 3, 1, 6, 0, 30},
         "07:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 3, 1, 6, 30)},
        {"tomorrow",
         {2024, 3, 1, 8, 0, 0},
         "07:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 3, 2, 6, 30)},
        {"in its minute: the check's",
         {2024, 3, 1, 7, 30, 10},
         "07:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 3, 2, 6, 30)},
        {"one-shot",
         {2024, 3, 1, 6, 0, 30},
         "07:30",
         true,
         true,
         true,
         {},
         berlin,
         Utc(2024, 3, 1, 6, 30)},
        {"off", {2024, 3, 1, 6, 0, 30}, "07:30", false, false, true, {}, berlin, none},
        {"no time", {2024, 3, 1, 6, 0, 30}, "", true, false, true, {}, berlin, none},
        {"waking off", {2024, 3, 1, 6, 0, 30}, "07:30", true, false, false, {}, berlin, none},
        {"summer time begins",
         {2024, 3, 30, 12, 0, 0},
         "07:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 3, 31, 5, 30)},
        {"its minute skipped",
         {2024, 3, 30, 12, 0, 0},
         "02:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 3, 31, 1, 0)},
        {"summer time ends",
         {2024, 10, 26, 12, 0, 0},
         "07:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 10, 27, 6, 30)},
        {"its minute twice",
         {2024, 10, 26, 12, 0, 0},
         "02:30",
         true,
         false,
         true,
         {},
         berlin,
         Utc(2024, 10, 27, 0, 30)},
        {"twice, rung once",
         {2024, 10, 27, 2, 31, 0},
         "02:30",
         true,
         false,
         true,
         ClockMinute{2024, 10, 27, 2, 30},
         berlin,
         Utc(2024, 10, 28, 1, 30)},
        {"another time zone",
         {2024, 3, 1, 6, 0, 30},
         "07:30",
         true,
         false,
         true,
         {},
         newYork,
         Utc(2024, 3, 1, 12, 30)},
    };
    for (const auto& c : cases) {
        StoredAlarm alarm;
        alarm.time = c.time;
        alarm.on = c.on;
        alarm.oneShot = c.oneShot;
        alarm.wake = c.wake;
        EXPECT_EQ(AlarmWakeTime(alarm, c.now, c.rung, c.zone), c.due) << c.what;
    }
}
