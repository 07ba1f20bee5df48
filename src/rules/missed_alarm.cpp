#include "rules/missed_alarm.h"

#include <string_view>

namespace {

constexpr long long kMinutesPerDay = 24 * 60;

// Days since 1970-01-01 of a date of the Gregorian calendar.
long long DaysSinceEpoch(int year, int month, int day) {
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

long long MinuteNumber(const LocalTime& time) {
    return DaysSinceEpoch(time.year, time.month, time.day) * kMinutesPerDay + time.hour * 60 +
           time.minute;
}

int Digit(char c) {
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// The minute of the day of an "hh:nn" text; nothing for any other text.
std::optional<int> MinuteOfDay(std::string_view time) {
    if (time.size() != 5 || time[2] != ':') {
        return std::nullopt;
    }
    const int digits[4] = {Digit(time[0]), Digit(time[1]), Digit(time[3]), Digit(time[4])};
    for (int digit : digits) {
        if (digit < 0) {
            return std::nullopt;
        }
    }
    const int hour = digits[0] * 10 + digits[1];
    const int minute = digits[2] * 10 + digits[3];
    if (hour > 23 || minute > 59) {
        return std::nullopt;
    }
    return hour * 60 + minute;
}

} // namespace

std::optional<std::string> MissedAlarmNotice(const LocalTime& sleepStart, const LocalTime& resume,
                                             const StoredAlarm& alarm) {
    const std::optional<int> alarmMinute = MinuteOfDay(alarm.time);
    if (!alarm.on || !alarmMinute) {
        return std::nullopt;
    }
    const long long asleep = MinuteNumber(sleepStart);
    // The first alarm minute after the one the sleep began in.
    long long next =
        asleep + (*alarmMinute - asleep % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
    if (next == asleep) {
        next += kMinutesPerDay;
    }
    if (next >= MinuteNumber(resume)) {
        return std::nullopt;
    }
    std::string text = "Der Wecker für " + alarm.time +
                       " Uhr hat nicht geklingelt, weil der Computer zu dieser Zeit im "
                       "Ruhezustand war.";
    if (!alarm.message.empty()) {
        text += "\n\nMeldung: " + alarm.message;
    }
    if (alarm.oneShot) {
        text += "\n\nDer einmalige Wecker bleibt unverändert eingestellt und klingelt das "
                "nächste Mal um " +
                alarm.time + " Uhr.";
    }
    return text;
}
