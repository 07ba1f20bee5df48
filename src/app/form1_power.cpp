// An alarm the machine slept through: told once on waking, never rung late,
// and the stored alarm stays as it is; and the end of the Windows session.
#include "app/alarm_runner.h"
#include "app/form1.h"
#include "app/power_watch.h"
#include "settings/settings_file.h"
#include "rules/alarm_check.h"
#include "rules/missed_alarm.h"
#include "settings/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"

#include <utility>

void TForm1::BindPowerWatch() {
    PowerWatch1->OnSuspend = [this](TPowerWatch* sender) { PowerWatch1Suspend(sender); };
    PowerWatch1->OnResume = [this](TPowerWatch* sender) { PowerWatch1Resume(sender); };
    // Closes the clock as any close request does, a transfer under way included.
    PowerWatch1->OnSessionEnd = [this](TPowerWatch*) { Close(); };
    PowerWatch1->Hook(application_.Handle());
}

void TForm1::PowerWatch1Suspend(TPowerWatch*) {
    sleepStart_ = seams::Now();
}

void TForm1::PowerWatch1Resume(TPowerWatch* sender) {
    // The first of the two wakings tells; the second finds nothing noted.
    const std::optional<LocalTime> asleep = std::exchange(sleepStart_, std::nullopt);
    if (!asleep || !objects_.settings) {
        return;
    }
    // A stored time that is none is the alarm check's to report.
    const std::optional<std::string> time =
        AlarmTimeText(objects_.settings->ReadString("Wecker", "Stunde", "0"),
                      objects_.settings->ReadString("Wecker", "Minute", "00"));
    if (!time) {
        return;
    }
    const TSettingsFile& settings = *objects_.settings;
    const StoredAlarm alarm{*time, settings.ReadBool("Wecker", "Aktiv", true),
                            settings.ReadBool("Wecker", "AktivMode", false),
                            Trim(settings.ReadString("Wecker", "Meldung", ""))};
    if (std::optional<std::string> notice = MissedAlarmNotice(*asleep, seams::Now(), alarm)) {
        sender->Later([this, text = std::move(*notice)] {
            if (objects_.settings) {
                AlarmRunner1->ShowBox(text, MB_OK | MB_ICONINFORMATION);
            }
        });
    }
}
