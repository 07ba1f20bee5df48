#pragma once
// What the clock tells its user on waking when the machine slept through the
// alarm. The alarm check rings only while the alarm minute lasts; a minute
// that passed wholly in sleep is lost to it, and ringing late would wake
// someone at a moment nobody chose. So the clock says what was missed instead.
#include "rules/stored_alarm.h"
#include "toolkit/local_time_rules.h"

#include <optional>
#include <string>

// The notice after a sleep from sleepStart to resume (local times), or nothing.
// The alarm was missed when it was on and one of its minutes began after the
// minute the sleep began in and ended before the minute of waking: in those
// two the clock was awake and its check saw the minute itself. A sleep of
// several days gives one notice.
std::optional<std::string> MissedAlarmNotice(const LocalTime& sleepStart, const LocalTime& resume,
                                             const StoredAlarm& alarm);
