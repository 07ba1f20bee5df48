#pragma once
// The clock as a screen reader speaks it: the shown time, the date in German
// words and the alarm line.
#include "toolkit/local_time_rules.h"

#include <string>
#include <string_view>

// "09:05": hours and minutes; the seconds would have a reader speak every second.
std::string SpokenTime(const LocalTime& time);
// "Dienstag, 8. Dezember 2026".
std::string SpokenDate(const LocalTime& time);
// "Wecker 07:30" for the alarm line's hour and minute as stored; an empty
// hour (no alarm) gives an empty text.
std::string SpokenAlarm(std::string_view hour, std::string_view minute);
