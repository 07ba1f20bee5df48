#include "app/alarm_runner.h"

#include "settings/program_objects.h"
#include "settings/settings_file.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"

void TAlarmRunner::Check(const LocalTime& now) {
    // A failure here would end the clock's ticks for good, so none may leave.
    try {
        Run(now);
    } catch (const EConvertError& failure) {
        ReportFailure("Die gespeicherte Weckzeit " + std::string(failure.what()) +
                      " ist keine gültige Uhrzeit. Der Wecker klingelt erst wieder, wenn "
                      "Sie die Weckzeit neu einstellen.");
    } catch (const EIniFileException& failure) {
        ReportFailure("Der Wecker konnte nicht ausgeschaltet werden, weil die "
                      "Einstellungen nicht gespeichert werden können.\n\n" +
                      std::string(failure.what()));
    } catch (const std::exception& failure) {
        ReportFailure("Beim Wecken ist ein Fehler aufgetreten: " + std::string(failure.what()));
    }
}

void TAlarmRunner::Run(const LocalTime& now) {
    if (!SettingsFile) {
        return;
    }
    const std::string hour = SettingsFile->ReadString("Wecker", "Stunde", "0");
    const std::string minute = SettingsFile->ReadString("Wecker", "Minute", "00");
    switch (DecideAlarm(now, Latch, hour, minute)) {
    case AlarmDecision::InvalidTime:
        // Told at a minute's start, as ever: not at the start of the program
        // or at a redraw in mid-minute, before the clock is even seen.
        if (now.second != 0) {
            return;
        }
        throw EConvertError("\"" + hour + ":" + minute + "\"");
    case AlarmDecision::Quiet:
        if (Latch != MinuteOf(now)) {
            lastFailure_.clear();
        }
        return;
    case AlarmDecision::Ring:
        lastFailure_.clear();
        break;
    }
    // From here on this minute counts as handled, whatever happens below.
    Latch = MinuteOf(now);
    if (SettingsFile->ReadBool("Wecker", "Aktiv", true)) {
        const std::string sound = SettingsFile->ReadString("Wecker", "Sound", "Tikkora.wav");
        if (std::optional<std::string> path = AlarmSoundPath(ProgramFolder, sound)) {
            seams::PlaySoundFile(*path);
        } else {
            seams::PlayDefaultSound();
        }
        const std::string message = SettingsFile->ReadString("Wecker", "Meldung", "");
        if (!Trim(message).empty()) {
            ShowBox(message, MB_OK);
        }
    }
    // The message box ran a message loop: the window may have closed meanwhile.
    if (SettingsFile && SettingsFile->ReadBool("Wecker", "AktivMode", false)) {
        SettingsFile->WriteBool("Wecker", "Aktiv", false);
        SettingsFile->WriteBool("Wecker", "AktivMode", false);
        links_.clearAlarmLine();
    }
}

void TAlarmRunner::ReportFailure(const std::string& text) {
    // Once per kind of failure, not once a second (or once a minute).
    if (text == lastFailure_) {
        return;
    }
    lastFailure_ = text;
    ShowBox(text, MB_OK | MB_ICONWARNING);
}

void TAlarmRunner::ShowBox(const std::string& text, UINT flags) {
    HWND owner = links_.boxOwner();
    struct Showing {
        bool& flag;
        explicit Showing(bool& flag) : flag(flag) { flag = true; }
        ~Showing() { flag = false; }
    } showing(boxOpen_);
    seams::ShowMessageBox(owner, text, links_.title(), flags);
}
