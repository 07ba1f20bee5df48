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

AlarmDecision DecideAlarm(const LocalTime& now, const std::optional<ClockMinute>& latch,
                          std::string_view storedHour, std::string_view storedMinute) {
    if (latch == MinuteOf(now)) {
        return AlarmDecision::Quiet;
    }
    const std::optional<std::string> alarm = AlarmTimeText(storedHour, storedMinute);
    if (!alarm) {
        return AlarmDecision::InvalidTime;
    }
    return HourMinuteText(now) == *alarm ? AlarmDecision::Ring : AlarmDecision::Quiet;
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
