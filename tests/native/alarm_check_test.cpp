#include "rules/alarm_check.h"

#include <gtest/gtest.h>

TEST(AlarmCheck, LatchOpensAtSecondOneAndOnlySecondZeroRings) {
    EXPECT_TRUE(OpensAlarmLatch("07:30:01"));
    EXPECT_FALSE(OpensAlarmLatch("07:30:00"));
    EXPECT_FALSE(OpensAlarmLatch("07:30:11"));
    EXPECT_TRUE(IsAlarmSecond("07:30:00"));
    EXPECT_FALSE(IsAlarmSecond("07:30:10"));
    EXPECT_FALSE(IsAlarmSecond("7:30:0"));
    EXPECT_FALSE(IsAlarmSecond(""));
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
                                {"1 2", "30"}}) {
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
}
