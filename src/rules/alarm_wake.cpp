#include "rules/alarm_wake.h"

namespace {

constexpr long long kSecondsPerMinute = 60;
// A daily alarm begins within two days and the hour that daylight saving time
// may add, even when the next one is passed over.
constexpr long long kLongestWait = (2 * 24 + 1) * 60 * 60;

long long LocalSeconds(const LocalTime& time) {
    return MinuteNumber(time) * kSecondsPerMinute + time.second;
}

} // namespace

std::optional<long long> AlarmWakeTime(const StoredAlarm& alarm, const LocalTime& now,
                                       const AlarmLatch& latch, const LocalTimeAt& localAt) {
    if (!alarm.on || !alarm.wake || alarm.time.empty()) {
        return std::nullopt;
    }
    // Now in UTC: the local time less the offset in force, looked up a second
    // time at the moment found in case the first guess lay across a change.
    const long long local = LocalSeconds(now);
    long long utc = local;
    for (int round = 0; round < 2; ++round) {
        utc += local - LocalSeconds(localAt(utc));
    }
    const long long thisMinute =
        utc - (utc % kSecondsPerMinute + kSecondsPerMinute) % kSecondsPerMinute;
    LocalTime before = localAt(thisMinute);
    for (long long at = thisMinute + kSecondsPerMinute; at <= thisMinute + kLongestWait;
         at += kSecondsPerMinute) {
        const LocalTime begins = localAt(at);
        // The check itself, as if it ran at each minute's start: it rings in
        // the alarm minute, or at once after a jump past it.
        if (DecideAlarm(CheckReading{before}, CheckReading{begins}, latch, alarm.time).decision ==
            AlarmDecision::Ring) {
            return at;
        }
        before = begins;
    }
    return std::nullopt;
}
