#pragma once
// The alarm as the settings file holds it now.
#include "rules/stored_alarm.h"
#include "settings/settings_file.h"

#include <windows.h>

#include <optional>
#include <string>

StoredAlarm ReadStoredAlarm(const TSettingsFile& file);

// For a reader that asks every second: the alarm is read from the file again
// only when the file has changed since, through the settings object or by
// another program (its time of last writing or its size). The file itself is
// looked at only when the caller says so (once a minute): a change through
// the settings object is seen at once without it.
class TStoredAlarmReader {
  public:
    const StoredAlarm& Read(const TSettingsFile& file, bool lookAtFile = true);

  private:
    struct Stamp {
        const TSettingsFile* file = nullptr;
        unsigned changes = 0;
        bool found = false;
        FILETIME written{};
        DWORD sizeHigh = 0;
        DWORD sizeLow = 0;
        bool operator==(const Stamp& other) const;
    };
    Stamp StampOf(const TSettingsFile& file);

    std::optional<StoredAlarm> alarm_;
    Stamp stamp_;
    std::wstring path_;
};
