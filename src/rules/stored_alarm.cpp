#include "rules/stored_alarm.h"

#include "rules/alarm_check.h"
#include "rules/profile_values.h"
#include "toolkit/string_rules.h"

StoredAlarm ReadStoredAlarm(const AlarmKeyReader& read) {
    StoredAlarm alarm;
    alarm.hour = read("Stunde", alarm.hour);
    alarm.minute = read("Minute", alarm.minute);
    alarm.time = AlarmTimeText(alarm.hour, alarm.minute).value_or("");
    alarm.on = ParseProfileBool(read("Aktiv", "0"), false);
    alarm.oneShot = ParseProfileBool(read("AktivMode", "0"), false);
    alarm.wake = ParseProfileBool(read("Aufwecken", "1"), true);
    alarm.message = Trim(read("Meldung", ""));
    alarm.sound = read("Sound", alarm.sound);
    return alarm;
}
