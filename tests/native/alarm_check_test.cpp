#include "rules/alarm_check.h"
#include "rules/alarm_wake.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

TEST(AlarmCheck, RingsAtTheFirstCheckOfTheAlarmMinuteWhateverItsSecond) {
    const ClockMinute rang{2024, 3, 1, 7, 30};
    struct Case {
        int hour, minute;
        std::optional<ClockMinute> latch;
        AlarmDecision expected;
    };
    const Case cases[] = {
        {7, 30, std::nullopt, AlarmDecision::Ring},
        {7, 30, rang, AlarmDecision::Quiet},                           // the same minute again
        {7, 30, ClockMinute{2024, 3, 1, 7, 29}, AlarmDecision::Ring},  // a latch of another minute
        {7, 30, ClockMinute{2024, 2, 29, 7, 30}, AlarmDecision::Ring}, // yesterday's alarm
        {7, 29, std::nullopt, AlarmDecision::Quiet},
        {7, 31, std::nullopt, AlarmDecision::Quiet},
        {19, 30, std::nullopt, AlarmDecision::Quiet},
    };
    for (const Case& c : cases) {
        for (int second = 0; second < 60; ++second) {
            const LocalTime now{2024, 3, 1, c.hour, c.minute, second};
            EXPECT_EQ(DecideAlarm(std::nullopt, {now}, {c.latch, c.latch}, "07:30").decision,
                      c.expected)
                << c.hour << ":" << c.minute << ":" << second << " latch " << c.latch.has_value();
        }
    }
    EXPECT_EQ(DecideAlarm(std::nullopt, {{2024, 3, 1, 7, 30, 5}}, {}, "").decision,
              AlarmDecision::InvalidTime);
    EXPECT_EQ(DecideAlarm(std::nullopt, {{2024, 3, 1, 7, 30, 5}}, {rang, rang}, "").decision,
              AlarmDecision::Quiet);
}

namespace {

// "MM-DD hh:mm:ss" of 2024.
LocalTime At(const char* text) {
    LocalTime time{2024};
    std::sscanf(text, "%d-%d %d:%d:%d", &time.month, &time.day, &time.hour, &time.minute,
                &time.second);
    return time;
}

} // namespace

TEST(AlarmCheck, AJumpOfTheLocalTimePastTheAlarmRingsOnceAndALongRealGapIsMissed) {
    using enum AlarmDecision;
    const struct {
        const char *what, *alarm, *before;
        long long realGapMs;
        const char *after, *latch;
        AlarmDecision expected;
        const char* minute; // the latch to keep
        const char* latest = "";
    } cases[] = {
        {"summer time begins", "02:30", "03-31 01:59:59", 1000, "03-31 03:00:00", "", Ring,
         "03-31 02:30:00"},
        {"set forward", "02:30", "03-01 02:10:00", 900, "03-01 02:45:00", "", Ring,
         "03-01 02:30:00"},
        {"two minutes", "02:30", "03-01 02:29:00", 120000, "03-01 02:31:00", "", Ring,
         "03-01 02:30:00"},
        {"longer: asleep", "02:30", "03-01 02:29:00", 120001, "03-01 02:31:00", "", Missed,
         "03-01 02:30:00"},
        {"already rung", "02:30", "03-01 02:10:00", 900, "03-01 02:45:00", "03-01 02:30:00", Quiet,
         "03-01 02:45:00"},
        {"summer time ends", "02:30", "10-27 02:59:59", 1000, "10-27 02:00:00", "10-27 02:30:00",
         Quiet, "10-27 02:00:00"},
        {"the hour again", "02:30", "10-27 02:29:59", 1000, "10-27 02:30:00", "10-27 02:30:00",
         Quiet, "10-27 02:30:00"},
        {"set back", "02:30", "03-01 03:00:00", 900, "03-01 02:00:00", "", Quiet, "03-01 02:00:00"},
        {"set back a day", "02:30", "03-02 02:31:00", 900, "03-01 02:30:00", "03-02 02:30:00", Ring,
         "03-01 02:30:00"},
        {"the latest again", "02:30", "03-02 02:29:00", 900, "03-02 02:31:00", "03-01 02:30:00",
         Quiet, "03-02 02:31:00", "03-02 02:30:00"},
        {"midnight", "00:00", "03-01 23:59:59", 1000, "03-02 00:00:00", "", Ring, "03-02 00:00:00"},
        {"past midnight", "00:00", "02-28 23:59:30", 1000, "02-29 00:01:00", "", Ring,
         "02-29 00:00:00"},
        {"slept past midnight", "00:00", "03-01 23:00:00", 3600000, "03-02 00:30:00", "", Missed,
         "03-02 00:00:00"},
        {"woken just before", "07:30", "03-01 07:27:30", 147000, "03-01 07:29:57", "", Quiet,
         "03-01 07:29:00"},
    };
    for (const auto& c : cases) {
        const auto minuteOf = [](const char* text) {
            return *text ? std::optional(MinuteOf(At(text))) : std::nullopt;
        };
        const AlarmLatch latch{minuteOf(c.latch),
                               *c.latest ? minuteOf(c.latest) : minuteOf(c.latch)};
        const AlarmVerdict verdict =
            DecideAlarm(CheckReading{At(c.before), 5000},
                        CheckReading{At(c.after), 5000 + c.realGapMs}, latch, c.alarm);
        EXPECT_EQ(verdict.decision, c.expected) << c.what;
        EXPECT_EQ(verdict.minute, MinuteOf(At(c.minute))) << c.what;
    }
}

// A zone of a fixed offset, an hour more from summerStart until summerEnd (UTC).
static LocalTimeAt Zone(int offsetMinutes, long long summerStart = 0, long long summerEnd = 0) {
    return [=](long long utc) {
        const std::time_t local =
            utc + (offsetMinutes + (utc >= summerStart && utc < summerEnd ? 60 : 0)) * 60;
        std::tm t{};
        gmtime_r(&local, &t);
        return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
    };
}

static long long Utc(const char* text) {
    const LocalTime t = At(text);
    std::tm fields{t.second, t.minute, t.hour, t.day, t.month - 1, 124, 0, 0, 0, 0, nullptr};
    return timegm(&fields);
}

TEST(AlarmWake, TheTimerStandsAtTheUtcMomentTheNextAlarmMinuteBegins) {
    // Central Europe: summer time from 31 March to 27 October 2024, at 01:00 UTC.
    const LocalTimeAt berlin = Zone(60, Utc("03-31 01:00:00"), Utc("10-27 01:00:00"));
    const struct {
        const char *what, *now, *alarm;
        bool on;
        const char* rung;
        const LocalTimeAt& zone;
        const char* due; // UTC, or "" for no timer
    } cases[] = {
        {"today", "03-01 06:00:30", "07:30", 1, "", berlin, "03-01 06:30:00"},
        {"tomorrow", "03-01 08:00:00", "07:30", 1, "", berlin, "03-02 06:30:00"},
        {"off", "03-01 06:00:30", "07:30", 0, "", berlin, ""},
        {"its minute skipped", "03-30 12:00:00", "02:30", 1, "", berlin, "03-31 01:00:00"},
        {"summer time ends", "10-26 12:00:00", "07:30", 1, "", berlin, "10-27 06:30:00"},
        {"rung, then set back", "10-27 01:00:00", "02:30", 1, "10-27 02:30:00", berlin,
         "10-28 01:30:00"},
        {"another time zone", "03-01 06:00:30", "07:30", 1, "", Zone(-5 * 60), "03-01 12:30:00"},
    };
    for (const auto& c : cases) {
        StoredAlarm alarm;
        alarm.time = c.alarm, alarm.on = c.on;
        const auto rung = *c.rung ? std::optional(MinuteOf(At(c.rung))) : std::nullopt;
        EXPECT_EQ(AlarmWakeTime(alarm, At(c.now), AlarmLatch{rung, rung}, c.zone),
                  *c.due ? std::optional(Utc(c.due)) : std::nullopt)
            << c.what;
    }
}

TEST(AlarmCheck, StoredTimesAreReadAsTimesOfDay) {
    EXPECT_EQ(AlarmTimeText("07", "30"), "07:30");
    EXPECT_EQ(AlarmTimeText("7", "5"), "07:05");
    EXPECT_EQ(AlarmTimeText("0", "00"), "00:00"); // the readers' defaults
    EXPECT_EQ(AlarmTimeText("23", "59"), "23:59");
    EXPECT_EQ(AlarmTimeText(" 7", "30 "), "07:30");
    EXPECT_EQ(AlarmTimeText("7", "30:15"), "07:30");
}

TEST(AlarmCheck, TimesThatAreNoTimesOfDayAreRejected) {
    for (auto [hour, minute] : {std::pair{"99", "00"},
                                {"24", "00"},
                                {"07", "-1"},
                                {"07", "60"},
                                {"ab", "30"},
                                {"", "30"},
                                {"07", ""},
                                {"007", "30"},
                                {"7:30", "1:2"},
                                {"1 2", "30"},
                                // A separator must be followed by a number.
                                {"1", "2:3:"},
                                {"07", ":"},
                                {"07:30:00", ""},
                                {"07", "30:00:00"}}) {
        EXPECT_FALSE(AlarmTimeText(hour, minute).has_value()) << hour << ":" << minute;
    }
}

TEST(AlarmCheck, HourMinuteOfTheCurrentTime) {
    EXPECT_EQ(HourMinuteText({2024, 1, 1, 7, 30, 0}), "07:30");
    EXPECT_EQ(HourMinuteText({2024, 1, 1, 0, 0, 59}), "00:00");
}

TEST(AlarmCheck, SoundsComeOnlyFromTheProgramFolder) {
    EXPECT_EQ(AlarmSoundPath("C:\\Tikkora\\", "Tikkora.wav"), "C:\\Tikkora\\Tikkora.wav");
    EXPECT_EQ(AlarmSoundPath("C:\\Tikkora\\", ""), "C:\\Tikkora\\");
    EXPECT_FALSE(AlarmSoundPath("C:\\Tikkora\\", "..\\x.wav"));
    EXPECT_FALSE(AlarmSoundPath("C:\\Tikkora\\", "C:\\Windows\\Media\\ding.wav"));
    EXPECT_FALSE(AlarmSoundPath("C:\\Tikkora\\", "sub/x.wav"));
    EXPECT_FALSE(AlarmSoundPath("C:\\Tikkora\\", ".."));
    EXPECT_FALSE(AlarmSoundPath("C:\\Tikkora\\", ".. "));
}

TEST(AlarmCheck, PathsBeyondThePlatformBufferAreRefused) {
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    EXPECT_TRUE(AlarmSoundPath(folder, std::string(51, 'n')).has_value()); // 255 characters
    EXPECT_FALSE(AlarmSoundPath(folder, std::string(52, 'n')).has_value());
    // Characters, not bytes: "ü" is one character.
    std::string umlauts;
    for (int i = 0; i < 51; ++i) {
        umlauts += "\xC3\xBC";
    }
    EXPECT_TRUE(AlarmSoundPath(folder, umlauts).has_value());
    // UTF-16 units, not characters: an emoji takes two.
    std::string faces;
    for (int i = 0; i < 25; ++i) {
        faces += "\xF0\x9F\x98\x80";
    }
    EXPECT_TRUE(AlarmSoundPath(folder, faces + "n").has_value()); // 255 units
    EXPECT_FALSE(AlarmSoundPath(folder, faces + "nn").has_value());
}
