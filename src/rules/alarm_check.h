#pragma once
// The decisions of the alarm check, without a window: whether a check rings,
// what the stored alarm time means, and which sound file may be played.
#include "toolkit/local_time_rules.h"

#include <optional>
#include <string>
#include <string_view>

// One minute of one day: what the alarm latch remembers.
struct ClockMinute {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    friend bool operator==(const ClockMinute&, const ClockMinute&) = default;
};
ClockMinute MinuteOf(const LocalTime& time);

enum class AlarmDecision {
    Quiet,
    Ring,
    // The stored hour and minute are no time of day; nothing rings.
    InvalidTime,
};

// One check, at any second: it rings at the first check that falls inside
// the alarm minute, so a second 00 that passed without a tick loses nothing.
// The latch is the minute the alarm last rang in; it keeps every later check
// of that minute quiet and no other.
AlarmDecision DecideAlarm(const LocalTime& now, const std::optional<ClockMinute>& latch,
                          std::string_view storedHour, std::string_view storedMinute);

// "hh:nn" of the current time.
std::string HourMinuteText(const LocalTime& time);

// The stored hour and minute joined by ":" and read as a time of day the way
// the platform's time parser reads one: hours and minutes of one or two digits,
// optional seconds, blanks around, and nothing else (no empty part, no
// separator at the end). The result is "hh:nn"; nothing when the text is no
// valid time of day (hour 99, minute -1, letters, "7:").
std::optional<std::string> AlarmTimeText(std::string_view hour, std::string_view minute);

// Sound files are handed to the platform in a buffer of this many UTF-16 units.
constexpr std::size_t kSoundPathBuffer = 256;

// The full path of a wave file named by the settings, or nothing when the name
// could reach outside the program's folder (a folder part, a drive, "..") or
// the path would not fit the platform's buffer; the caller then plays the
// default sound rather than something it was never meant to.
std::optional<std::string> AlarmSoundPath(std::string_view programFolder, std::string_view name);
