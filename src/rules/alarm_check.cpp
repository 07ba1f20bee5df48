#include "rules/alarm_check.h"

#include "toolkit/string_rules.h"

#include <cstdio>

namespace {

// One or two digits, as the time parser takes hours, minutes and seconds.
std::optional<int> SmallNumber(std::string_view text) {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

ClockMinute MinuteOf(const LocalTime& time) {
    return ClockMinute{time.year, time.month, time.day, time.hour, time.minute};
}

namespace {

constexpr long long kMinutesPerDay = 24 * 60;

// Days since 1970-01-01 of a date of the Gregorian calendar, and back.
long long DaysSinceEpoch(int year, int month, int day) {
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

ClockMinute MinuteFromNumber(long long number) {
    const long long days = (number >= 0 ? number : number - kMinutesPerDay + 1) / kMinutesPerDay;
    const long long ofDay = number - days * kMinutesPerDay;
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return ClockMinute{year, month, day, static_cast<int>(ofDay / 60),
                       static_cast<int>(ofDay % 60)};
}

// The minute of the day of an "hh:nn" text.
std::optional<int> MinuteOfDay(std::string_view time) {
    if (time.size() != 5 || time[2] != ':') {
        return std::nullopt;
    }
    const std::optional<int> hour = SmallNumber(time.substr(0, 2));
    const std::optional<int> minute = SmallNumber(time.substr(3, 2));
    if (!hour || !minute || *hour > 23 || *minute > 59) {
        return std::nullopt;
    }
    return *hour * 60 + *minute;
}

} // namespace

long long MinuteNumber(const LocalTime& time) {
    return DaysSinceEpoch(time.year, time.month, time.day) * kMinutesPerDay + time.hour * 60 +
           time.minute;
}

std::optional<ClockMinute> AlarmMinuteBetween(const LocalTime& after, const LocalTime& before,
                                              std::string_view alarmTime) {
    const std::optional<int> alarmMinute = MinuteOfDay(alarmTime);
    if (!alarmMinute) {
        return std::nullopt;
    }
    const long long from = MinuteNumber(after);
    // The first alarm minute after the one `after` lies in.
    long long next =
        from + (*alarmMinute - from % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
    if (next == from) {
        next += kMinutesPerDay;
    }
    if (next >= MinuteNumber(before)) {
        return std::nullopt;
    }
    return MinuteFromNumber(next);
}

AlarmVerdict DecideAlarm(const std::optional<CheckReading>& previous, const CheckReading& now,
                         const AlarmLatch& latch, std::string_view alarmTime) {
    const ClockMinute current = MinuteOf(now.local);
    if (latch.Holds(current)) {
        return {AlarmDecision::Quiet, current};
    }
    if (!MinuteOfDay(alarmTime)) {
        return {AlarmDecision::InvalidTime, current};
    }
    if (HourMinuteText(now.local) == alarmTime) {
        return {AlarmDecision::Ring, current};
    }
    if (!previous) {
        return {AlarmDecision::Quiet, current};
    }
    const std::optional<ClockMinute> passed =
        AlarmMinuteBetween(previous->local, now.local, alarmTime);
    if (!passed || latch.Holds(*passed)) {
        return {AlarmDecision::Quiet, current};
    }
    const long long gap = now.realMilliseconds - previous->realMilliseconds;
    return {gap >= 0 && gap <= kLongestJumpGap ? AlarmDecision::Ring : AlarmDecision::Missed,
            *passed};
}

std::string HourMinuteText(const LocalTime& time) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02d:%02d", time.hour % 100, time.minute % 100);
    return text;
}

std::optional<std::string> AlarmTimeText(std::string_view hour, std::string_view minute) {
    const std::string joined = Trim(std::string(hour) + ":" + std::string(minute));
    // Hours, minutes and perhaps seconds; every separator must be followed
    // by a number, so "7:" and "7:30:" are refused alike.
    std::optional<int> parts[3];
    int count = 0;
    std::string_view rest = joined;
    for (;;) {
        if (count == 3) {
            return std::nullopt;
        }
        const std::size_t colon = rest.find(':');
        parts[count] = SmallNumber(rest.substr(0, colon));
        if (!parts[count++]) {
            return std::nullopt;
        }
        if (colon == std::string_view::npos) {
            break;
        }
        rest = rest.substr(colon + 1);
    }
    if (count < 2 || *parts[0] > 23 || *parts[1] > 59 || (count == 3 && *parts[2] > 59)) {
        return std::nullopt;
    }
    char text[8];
    std::snprintf(text, sizeof(text), "%02d:%02d", *parts[0], *parts[1]);
    return std::string(text);
}

std::optional<std::string> AlarmSoundPath(std::string_view programFolder, std::string_view name) {
    if (name.find_first_of("\\/:") != std::string_view::npos) {
        return std::nullopt;
    }
    // Windows drops trailing dots and blanks: ".. " names the parent folder.
    if (!name.empty() && name.find_first_not_of(". ") == std::string_view::npos) {
        return std::nullopt;
    }
    std::string path = std::string(programFolder) + std::string(name);
    // Counted as the platform counts: a character beyond the basic plane
    // (four bytes in UTF-8, an emoji say) takes two UTF-16 units.
    std::size_t units = 0;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            units += byte >= 0xF0 ? 2 : 1;
        }
    }
    if (units >= kSoundPathBuffer) {
        return std::nullopt;
    }
    return path;
}
