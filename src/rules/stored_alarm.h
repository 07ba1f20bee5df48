#pragma once
// The alarm as the settings file's [Wecker] section holds it, read one way
// with one set of defaults by everything that asks about it: the check, the
// alarm line and the notice of an alarm missed. A file without the section
// holds no alarm.
#include <functional>
#include <string>
#include <string_view>

struct StoredAlarm {
    std::string time; // "hh:nn"; empty when the stored hour and minute are no time of day
    bool on = false;
    bool oneShot = false;
    std::string message; // without the blanks around it
    std::string sound = "Tikkora.wav";
    // As stored, to name a time that is none.
    std::string hour = "00";
    std::string minute = "00";
    // The machine is woken from sleep for the alarm.
    bool wake = true;
};

// A key of the section, or fallback when the key is missing.
using AlarmKeyReader =
    std::function<std::string(const std::string& key, const std::string& fallback)>;

StoredAlarm ReadStoredAlarm(const AlarmKeyReader& read);
