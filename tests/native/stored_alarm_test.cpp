#include "rules/stored_alarm.h"

#include <gtest/gtest.h>

#include <map>

TEST(StoredAlarm, OneReadingWithOneSetOfDefaults) {
    using Section = std::map<std::string, std::string>;
    const struct {
        Section section;
        const char* time;
        bool on, oneShot;
        const char* message;
        const char* sound;
    } cases[] = {
        {{}, "00:00", false, false, "", "Tikkora.wav"}, // no alarm was ever set
        {{{"Stunde", "07"},
          {"Minute", "30"},
          {"Aktiv", "1"},
          {"AktivMode", "1"},
          {"Meldung", "  Los "},
          {"Sound", "x.wav"}},
         "07:30",
         true,
         true,
         "Los",
         "x.wav"},
        {{{"Aktiv", "2"}}, "00:00", true, false, "", "Tikkora.wav"},
        {{{"Aktiv", "0"}, {"AktivMode", "1"}}, "00:00", false, true, "", "Tikkora.wav"},
        {{{"Aktiv", "ja"}}, "00:00", false, false, "", "Tikkora.wav"},
        {{{"Sound", ""}}, "00:00", false, false, "", ""},
        {{{"Stunde", "7"}, {"Minute", "5"}}, "07:05", false, false, "", "Tikkora.wav"},
        {{{"Stunde", "99"}, {"Aktiv", "1"}}, "", true, false, "", "Tikkora.wav"},
    };
    for (const auto& c : cases) {
        const StoredAlarm alarm =
            ReadStoredAlarm([&](const std::string& key, const std::string& fallback) {
                const auto found = c.section.find(key);
                return found == c.section.end() ? fallback : found->second;
            });
        const std::string label = "case " + std::to_string(&c - cases);
        EXPECT_EQ(alarm.time, c.time) << label;
        EXPECT_EQ(alarm.on, c.on) << label;
        EXPECT_EQ(alarm.oneShot, c.oneShot) << label;
        EXPECT_EQ(alarm.message, c.message) << label;
        EXPECT_EQ(alarm.sound, c.sound) << label;
    }
}
