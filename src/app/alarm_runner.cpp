#include "app/alarm_runner.h"

#include "rules/missed_alarm.h"

#include "settings/alarm_settings.h"
#include "settings/settings_file.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"

namespace {

constexpr UINT kLaterMessage = WM_APP + 2;

} // namespace

void TAlarmRunner::Check(const LocalTime& now) {
    Guarded([&] { Run(now); });
    // Apart from the check, so a failing check leaves the timer following the
    // alarm; the alarm is taken from the reader's copy, as the check left it
    // (a one-shot alarm switched off is seen at once).
    Guarded([&] {
        if (objects_.settings) {
            wake_.Follow(storedAlarm_.Read(*objects_.settings, false), now, Latch);
        }
    });
}

void TAlarmRunner::Guarded(const std::function<void()>& action) {
    // Told here in the alarm's own words, rather than as a bare failure of the tick.
    try {
        action();
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
    if (!objects_.settings) {
        return;
    }
    const CheckReading reading{now, seams::RealMilliseconds()};
    const std::optional<CheckReading> previous = std::exchange(lastCheck_, reading);
    // Another program's change of the file is looked for once a minute, when
    // an alarm minute can begin or be passed: every second it would cost a
    // query of the file system at each tick.
    const bool newMinute = !previous || MinuteOf(previous->local) != MinuteOf(now);
    const StoredAlarm& alarm = storedAlarm_.Read(*objects_.settings, newMinute);
    const AlarmVerdict verdict = DecideAlarm(previous, reading, Latch, alarm.time);
    switch (verdict.decision) {
    case AlarmDecision::InvalidTime:
        // Told at a minute's start, as ever: not at the start of the program
        // or at a redraw in mid-minute, before the clock is even seen.
        if (now.second != 0) {
            return;
        }
        throw EConvertError("\"" + alarm.hour + ":" + alarm.minute + "\"");
    case AlarmDecision::Quiet:
        if (Latch.last != MinuteOf(now)) {
            lastFailure_.clear();
        }
        return;
    case AlarmDecision::Missed:
        Latch.Take(verdict.minute);
        if (std::optional<std::string> notice = MissedAlarmNotice(previous->local, now, alarm)) {
            ShowBoxLater(std::move(*notice), MB_OK | MB_ICONINFORMATION);
        }
        return;
    case AlarmDecision::Ring:
        lastFailure_.clear();
        break;
    }
    // From here on this alarm counts as handled, whatever happens below.
    Latch.Take(verdict.minute);
    if (alarm.on) {
        if (std::optional<std::string> path = AlarmSoundPath(objects_.folder, alarm.sound)) {
            seams::PlaySoundFile(*path);
        } else {
            seams::PlayDefaultSound();
        }
        wake_.Ringing(alarmMessageOpen_);
        if (alarmMessageOpen_) {
            // The message still open from an earlier alarm says it all; a
            // one-shot alarm goes off when that one is closed.
            return;
        }
        if (!alarm.message.empty()) {
            const auto closed = [this] {
                alarmMessageOpen_ = false;
                wake_.MessageClosed();
                Guarded([this] { SwitchOffOneShot(); });
            };
            // A message that cannot be shown leaves the alarm to run its course without it.
            if (ShowBoxLater(alarm.message, MB_OK, closed)) {
                alarmMessageOpen_ = true;
                wake_.Ringing(true);
                return;
            }
        }
    }
    SwitchOffOneShot();
}

void TAlarmRunner::SwitchOffOneShot() {
    // Read afresh: a message box ran a message loop, and the window may have
    // closed meanwhile.
    if (objects_.settings && objects_.settings->ReadBool("Wecker", "AktivMode", false)) {
        objects_.settings->WriteBool("Wecker", "Aktiv", false);
        objects_.settings->WriteBool("Wecker", "AktivMode", false);
        links_.clearAlarmLine();
    }
}

void TAlarmRunner::ReportFailure(const std::string& text) {
    // Once per kind of failure, not once a second (or once a minute); and one
    // box at a time: a cause that keeps changing would stack box upon box. A
    // failure dropped meanwhile is told when it recurs after the box is closed.
    if (text == lastFailure_ || failureBoxOpen_) {
        return;
    }
    lastFailure_ = text;
    failureBoxOpen_ =
        ShowBoxLater(text, MB_OK | MB_ICONWARNING, [this] { failureBoxOpen_ = false; });
}

bool TAlarmRunner::ShowBoxLater(std::string text, UINT flags, std::function<void()> afterwards) {
    if (!window_.Open()) {
        return false;
    }
    later_.push_back([this, text = std::move(text), flags, afterwards = std::move(afterwards)] {
        // Not once the window has closed: there is nothing left to tell it beside.
        if (objects_.settings) {
            ShowBox(text, flags);
        }
        if (afterwards) {
            afterwards();
        }
    });
    if (!PostMessageW(window_.Handle(), kLaterMessage, 0, 0)) {
        // Nothing would ever take it from the queue, and the runner would count it as open.
        later_.pop_back();
        return false;
    }
    return true;
}

bool TAlarmRunner::Receive(UINT message) {
    if (message != kLaterMessage || later_.empty()) {
        return false;
    }
    std::function<void()> action = std::move(later_.front());
    later_.pop_front();
    action();
    return true;
}

void TAlarmRunner::ShowBox(const std::string& text, UINT flags) {
    HWND owner = links_.boxOwner();
    struct Showing {
        int& count;
        explicit Showing(int& count) : count(count) { ++count; }
        ~Showing() { --count; }
    } showing(boxesOpen_);
    seams::ShowMessageBox(owner, text, links_.title(), flags);
}
