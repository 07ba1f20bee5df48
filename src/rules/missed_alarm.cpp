#include "rules/missed_alarm.h"

#include "rules/alarm_check.h"

std::optional<std::string> MissedAlarmNotice(const LocalTime& sleepStart, const LocalTime& resume,
                                             const StoredAlarm& alarm) {
    if (!alarm.on || !AlarmMinuteBetween(sleepStart, resume, alarm.time)) {
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
