#pragma once
// The decisions of the alarm check, without a window: whether a check rings,
// what the stored alarm time means, and which sound file may be played.
#include "toolkit/local_time_rules.h"

#include <compare>
#include <optional>
#include <string>
#include <string_view>

// One minute of one day, as the alarm latch remembers it; later minutes compare greater.
struct ClockMinute {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    friend auto operator<=>(const ClockMinute&, const ClockMinute&) = default;
};
ClockMinute MinuteOf(const LocalTime& time);
// Minutes since 1970-01-01 00:00 of a local time counted as if it were UTC.
long long MinuteNumber(const LocalTime& time);

// What one check read: the local time, and a clock that only runs forward
// (milliseconds, sleep included), which tells a jump of the local time from
// time that really passed.
struct CheckReading {
    LocalTime local;
    long long realMilliseconds = 0;
};

// Two checks at most this far apart in real time saw everything between
// them: a local time that leapt past the alarm minute in that span was moved
// (the change to summer time, a clock or time zone set forward).
constexpr long long kLongestJumpGap = 2 * 60 * 1000;

enum class AlarmDecision {
    Quiet,
    Ring,
    // The alarm minute passed while the clock could not look: the machine
    // slept or stood still. It is told, never rung late.
    Missed,
    // The stored hour and minute are no time of day; nothing rings.
    InvalidTime,
};

struct AlarmVerdict {
    AlarmDecision decision = AlarmDecision::Quiet;
    // The alarm minute rung or missed: the latch to keep.
    ClockMinute minute;
};

// The alarm minutes already rung or missed that must stay quiet: the last
// one, for the rest of its minute and a clock set back within the hour, and
// the latest one, which a clock set back by days reaches again. Earlier days'
// alarm minutes ring as ever: a clock wrongly set ahead and put right keeps
// its alarm.
struct AlarmLatch {
    std::optional<ClockMinute> last;
    std::optional<ClockMinute> latest;
    bool Holds(const ClockMinute& minute) const { return last == minute || latest == minute; }
    bool operator==(const AlarmLatch&) const = default;
    void Take(const ClockMinute& minute) {
        last = minute;
        if (!latest || *latest < minute) {
            latest = minute;
        }
    }
};

// One check, at any second. It rings at the first check inside the alarm
// minute, and at once when the local time has passed the alarm minute since
// the previous check in a short real span; over a longer span the alarm was
// missed. A minute the latch holds stays quiet.
// alarmTime is "hh:nn", or empty for a stored time that is none.
AlarmVerdict DecideAlarm(const std::optional<CheckReading>& previous, const CheckReading& now,
                         const AlarmLatch& latch, std::string_view alarmTime);

// The first alarm minute (minute of the day) after the minute of `after` and
// before the minute of `before`: one that began and ended wholly between them.
std::optional<ClockMinute> AlarmMinuteBetween(const LocalTime& after, const LocalTime& before,
                                              std::string_view alarmTime);

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
