#pragma once
// The decisions of the alarm check, without a window: when the once-a-minute
// latch opens, whether a second is the alarm second, what the stored alarm
// time means, and which sound file may be played.
#include "toolkit/local_time.h"

#include <optional>
#include <string>
#include <string_view>

// The latch opens again at second 01 of every minute.
bool OpensAlarmLatch(std::string_view timeText);
// Only second 00 can ring.
bool IsAlarmSecond(std::string_view timeText);

// "hh:nn" of the current time.
std::string HourMinuteText(const LocalTime& time);

// The stored hour and minute joined by ":" and read as a time of day: one or
// two digits each, optional seconds, blanks around; the result is "hh:nn".
// Nothing when the text is no valid time of day (hour 99, minute -1, letters).
std::optional<std::string> AlarmTimeText(std::string_view hour, std::string_view minute);

// Sound files are handed to the platform in a buffer of this many characters.
constexpr std::size_t kSoundPathBuffer = 256;

// The full path of a wave file named by the settings, or nothing when the name
// could reach outside the program's folder (a folder part, a drive, "..") or
// the path would not fit the platform's buffer; the caller then plays the
// default sound rather than something it was never meant to.
std::optional<std::string> AlarmSoundPath(std::string_view programFolder, std::string_view name);
