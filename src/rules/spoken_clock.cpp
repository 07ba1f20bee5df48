#include "rules/spoken_clock.h"

#include "rules/display_plan.h"

namespace {

constexpr const char* kWeekdays[] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                     "Freitag", "Samstag",  "Sonntag"};
constexpr const char* kMonths[] = {"Januar",    "Februar", "M\xC3\xA4rz", "April",
                                   "Mai",       "Juni",    "Juli",        "August",
                                   "September", "Oktober", "November",    "Dezember"};

// 0 for Monday. Days counted from 1 March of year 0, so that the leap day
// falls at the end of the counted year.
int WeekdayOf(int year, int month, int day) {
    const int y = month <= 2 ? year - 1 : year;
    const int m = month <= 2 ? month + 9 : month - 3;
    const long days = 365L * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - 1;
    // 1 March of year 0 was a Wednesday.
    return static_cast<int>((days + 2) % 7);
}

// A stored hour or minute of one digit as the display's two.
std::string TwoDigits(std::string_view text) {
    return text.size() == 1 ? "0" + std::string(text) : std::string(text);
}

} // namespace

std::string SpokenTime(const LocalTime& time) {
    return FormatTimeText(time).substr(0, 5);
}

std::string SpokenDate(const LocalTime& time) {
    if (time.month < 1 || time.month > 12 || time.year < 1) {
        return FormatDateText(time);
    }
    return std::string(kWeekdays[WeekdayOf(time.year, time.month, time.day)]) + ", " +
           std::to_string(time.day) + ". " + kMonths[time.month - 1] + " " +
           std::to_string(time.year);
}

std::string SpokenAlarm(std::string_view hour, std::string_view minute) {
    if (hour.empty()) {
        return "";
    }
    return "Wecker " + TwoDigits(hour) + ":" + TwoDigits(minute);
}
