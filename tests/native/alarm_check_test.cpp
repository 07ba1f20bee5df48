#include "rules/alarm_check.h"

#include <gtest/gtest.h>

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
            EXPECT_EQ(DecideAlarm(now, c.latch, "07", "30"), c.expected)
                << c.hour << ":" << c.minute << ":" << second << " latch " << c.latch.has_value();
        }
    }
    EXPECT_EQ(DecideAlarm({2024, 3, 1, 7, 30, 5}, std::nullopt, "99", "-1"),
              AlarmDecision::InvalidTime);
    EXPECT_EQ(DecideAlarm({2024, 3, 1, 7, 30, 5}, rang, "99", "-1"), AlarmDecision::Quiet);
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
