#include "rules/alarm_check.h"

#include "toolkit/strings.h"

#include <cstdio>

namespace {

bool CharactersSevenAndEightAre(std::string_view timeText, std::string_view pair) {
    return timeText.size() >= 8 && timeText.substr(6, 2) == pair;
}

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

bool OpensAlarmLatch(std::string_view timeText) {
    return CharactersSevenAndEightAre(timeText, "01");
}

bool IsAlarmSecond(std::string_view timeText) {
    return CharactersSevenAndEightAre(timeText, "00");
}

std::string HourMinuteText(const LocalTime& time) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02d:%02d", time.hour % 100, time.minute % 100);
    return text;
}

std::optional<std::string> AlarmTimeText(std::string_view hour, std::string_view minute) {
    const std::string joined = Trim(std::string(hour) + ":" + std::string(minute));
    std::string_view rest = joined;
    std::optional<int> parts[3];
    int count = 0;
    while (count < 3) {
        std::size_t colon = rest.find(':');
        parts[count++] = SmallNumber(rest.substr(0, colon));
        if (colon == std::string_view::npos) {
            rest = {};
            break;
        }
        rest = rest.substr(colon + 1);
    }
    if (!rest.empty() || count < 2 || !parts[0] || !parts[1] || (count == 3 && !parts[2])) {
        return std::nullopt;
    }
    if (*parts[0] > 23 || *parts[1] > 59 || (count == 3 && *parts[2] > 59)) {
        return std::nullopt;
    }
    char text[8];
    std::snprintf(text, sizeof(text), "%02d:%02d", *parts[0], *parts[1]);
    return std::string(text);
}

std::optional<std::string> AlarmSoundPath(std::string_view programFolder, std::string_view name) {
    if (name.find_first_of("\\/:") != std::string_view::npos || name == "." || name == "..") {
        return std::nullopt;
    }
    std::string path = std::string(programFolder) + std::string(name);
    std::size_t characters = 0;
    for (char c : path) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    if (characters >= kSoundPathBuffer) {
        return std::nullopt;
    }
    return path;
}
