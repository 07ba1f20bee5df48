// Which entry of the sound list the stored "Sound" value selects.
#include "rules/sound_list.h"

#include <gtest/gtest.h>

TEST(AlarmSoundList, SelectsTheFirstEntryEqualIgnoringCase) {
    const std::vector<std::string> entries{"Glocke.wav", "Tikkora.wav", "TIKKORA.WAV"};
    EXPECT_EQ(FindSoundEntry(entries, "Tikkora.wav"), 1u);
    EXPECT_EQ(FindSoundEntry(entries, "tikkora.WAV"), 1u);
    EXPECT_EQ(FindSoundEntry(entries, "GLOCKE.wav"), 0u);
}

TEST(AlarmSoundList, UmlautsCompareIgnoringCaseToo) {
    const std::vector<std::string> entries{"Morgen.wav", "Ärger.wav"};
    EXPECT_EQ(FindSoundEntry(entries, "äRGER.WAV"), 1u);
    EXPECT_EQ(FoldFileNameCase("ÄÖÜ ÀÞ ×"), "äöü àþ ×");
}

TEST(AlarmSoundList, NoMatchSelectsNothing) {
    const std::vector<std::string> entries{"Tikkora.wav"};
    EXPECT_FALSE(FindSoundEntry(entries, ""));
    EXPECT_FALSE(FindSoundEntry(entries, "Tikkora"));
    EXPECT_FALSE(FindSoundEntry(entries, "..\\Tikkora.wav"));
    EXPECT_FALSE(FindSoundEntry(entries, "C:\\Windows\\Media\\Tikkora.wav"));
    EXPECT_FALSE(FindSoundEntry({}, "Tikkora.wav"));
}
