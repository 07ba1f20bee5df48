#pragma once
// When the machine is to be woken for the alarm. The system's wake timer runs
// on UTC while the alarm keeps to the local clock, so the moment is found by
// walking the local time minute by minute: a change of daylight saving time on
// the way moves it just as it moves the alarm check.
#include "rules/alarm_check.h"
#include "rules/stored_alarm.h"
#include "toolkit/local_time_rules.h"

#include <functional>
#include <optional>

// The local time at a moment given in seconds since 1970-01-01 00:00 UTC.
using LocalTimeAt = std::function<LocalTime(long long utcSeconds)>;

// The moment (seconds since 1970 UTC) at which the first minute after now's
// begins in which the alarm check rings: the alarm minute or, on a day whose
// alarm minute daylight saving time skips, the first minute after the jump.
// A minute the latch holds is passed over, as the check keeps it quiet: the
// hour repeated when summer time ends wakes nobody a second time. Nothing when the alarm is
// off, its time is none, or waking is switched off.
std::optional<long long> AlarmWakeTime(const StoredAlarm& alarm, const LocalTime& now,
                                       const AlarmLatch& latch, const LocalTimeAt& localAt);
