// The alarm check that follows the time drawing every second: sound, message,
// and switching a one-shot alarm off.
#include "rules/alarm_check.h"
#include "app/form1.h"
#include "settings/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"
#include "toolkit/strings.h"

void TForm1::AlarmCheck(const LocalTime& now) {
    // A failure here would end the clock's ticks for good, so none may leave.
    try {
        RunAlarmCheck(now);
    } catch (const EConvertError& failure) {
        ReportAlarmFailure("Die gespeicherte Weckzeit " + std::string(failure.what()) +
                           " ist keine gültige Uhrzeit. Der Wecker klingelt erst wieder, wenn "
                           "Sie die Weckzeit neu einstellen.");
    } catch (const EIniFileException& failure) {
        ReportAlarmFailure("Der Wecker konnte nicht ausgeschaltet werden, weil die "
                           "Einstellungen nicht gespeichert werden können.\n\n" +
                           std::string(failure.what()));
    } catch (const std::exception& failure) {
        ReportAlarmFailure("Beim Wecken ist ein Fehler aufgetreten: " +
                           std::string(failure.what()));
    }
}

void TForm1::RunAlarmCheck(const LocalTime& now) {
    if (!SettingsFile) {
        return;
    }
    const std::string hour = SettingsFile->ReadString("Wecker", "Stunde", "0");
    const std::string minute = SettingsFile->ReadString("Wecker", "Minute", "00");
    switch (DecideAlarm(now, AlarmLatch, hour, minute)) {
    case AlarmDecision::InvalidTime:
        // Told at a minute's start, as ever: not at the start of the program
        // or at a redraw in mid-minute, before the clock is even seen.
        if (now.second != 0) {
            return;
        }
        throw EConvertError("\"" + hour + ":" + minute + "\"");
    case AlarmDecision::Quiet:
        if (AlarmLatch != MinuteOf(now)) {
            lastAlarmFailure_.clear();
        }
        return;
    case AlarmDecision::Ring:
        lastAlarmFailure_.clear();
        break;
    }
    // From here on this minute counts as handled, whatever happens below.
    AlarmLatch = MinuteOf(now);
    if (SettingsFile->ReadBool("Wecker", "Aktiv", true)) {
        const std::string sound = SettingsFile->ReadString("Wecker", "Sound", "Tikkora.wav");
        if (std::optional<std::string> path = AlarmSoundPath(ProgramFolder, sound)) {
            seams::PlaySoundFile(*path);
        } else {
            seams::PlayDefaultSound();
        }
        const std::string message = SettingsFile->ReadString("Wecker", "Meldung", "");
        if (!Trim(message).empty()) {
            ShowAlarmBox(message, MB_OK);
        }
    }
    // The message box ran a message loop: the window may have closed meanwhile.
    if (SettingsFile && SettingsFile->ReadBool("Wecker", "AktivMode", false)) {
        SettingsFile->WriteBool("Wecker", "Aktiv", false);
        SettingsFile->WriteBool("Wecker", "AktivMode", false);
        alarmdisplay("", "");
    }
}

void TForm1::ReportAlarmFailure(const std::string& text) {
    // Once per kind of failure, not once a second (or once a minute).
    if (text == lastAlarmFailure_) {
        return;
    }
    lastAlarmFailure_ = text;
    ShowAlarmBox(text, MB_OK | MB_ICONWARNING);
}

void TForm1::ShowAlarmBox(const std::string& text, UINT flags) {
    // Inside the taskbar the clock is a child of the taskbar, and a box it
    // owned would disable the whole taskbar while it is open.
    HWND owner = InTaskbar() ? application_.Handle() : Handle();
    struct Showing {
        bool& flag;
        explicit Showing(bool& flag) : flag(flag) { flag = true; }
        ~Showing() { flag = false; }
    } showing(alarmBoxOpen_);
    seams::ShowMessageBox(owner, text, application_.Title(), flags);
}
