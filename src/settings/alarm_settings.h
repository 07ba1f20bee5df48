#pragma once
// The alarm as the settings file holds it now.
#include "rules/stored_alarm.h"
#include "settings/settings_file.h"

inline StoredAlarm ReadStoredAlarm(const TSettingsFile& file) {
    return ReadStoredAlarm([&file](const std::string& key, const std::string& fallback) {
        return file.ReadString("Wecker", key, fallback);
    });
}
