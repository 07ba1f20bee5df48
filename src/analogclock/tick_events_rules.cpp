#include "analogclock/tick_events_rules.h"

std::vector<ClockEventCall> ChangedClockEvents(const ClockReading& last, const ClockReading& now) {
    std::vector<ClockEventCall> calls;
    if (now.second != last.second) {
        calls.push_back({ClockEvent::Second, now.second});
    }
    if (now.minute != last.minute) {
        calls.push_back({ClockEvent::Minute, now.minute});
    }
    if (now.hour != last.hour) {
        calls.push_back({ClockEvent::Hour, now.hour});
    }
    return calls;
}
