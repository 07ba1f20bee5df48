#pragma once
// The alarm at its minute: sound, message and switching a one-shot alarm off,
// for the time one tick read; an alarm the clock could not see is told of.
// The boxes open once the tick has returned, so the clock goes on beneath them.
#include "app/alarm_wake.h"
#include "rules/alarm_check.h"
#include "settings/alarm_settings.h"
#include "settings/program_objects.h"
#include "toolkit/local_time_rules.h"
#include "toolkit/message_window.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>

class TAlarmRunner {
  public:
    // What the runner needs of the main window.
    struct Links {
        // The window a box is owned by, asked when the box opens.
        std::function<HWND()> boxOwner;
        // The boxes' caption.
        std::function<std::string()> title;
        // Clears the alarm line once a one-shot alarm has switched itself off.
        std::function<void()> clearAlarmLine;
    };
    TAlarmRunner(const ProgramObjects& objects, Links links)
        : objects_(objects), links_(std::move(links)) {}
    TAlarmRunner(const TAlarmRunner&) = delete;
    TAlarmRunner& operator=(const TAlarmRunner&) = delete;

    // The check of one tick; never throws, a failure is told in a box.
    void Check(const LocalTime& now);
    // True while a box of the alarm is open or about to open.
    bool BoxOpen() const { return boxesOpen_ > 0 || !later_.empty(); }
    // The machine woke, or the time or the time zone changed: the wake timer
    // is set afresh at the next check.
    void TimeChanged() { wake_.ArmAgain(); }

  private:
    // The alarm minutes rung or missed that must not ring again.
    AlarmLatch Latch;
    void Run(const LocalTime& now);
    void SwitchOffOneShot();
    // Runs action, telling a failure in a box instead of letting it out.
    void Guarded(const std::function<void()>& action);
    void ReportFailure(const std::string& text);
    // Opens a box once the message now handled (the tick) has returned, then
    // runs afterwards; false (and neither is run) when the box cannot be posted.
    bool ShowBoxLater(std::string text, UINT flags, std::function<void()> afterwards = nullptr);
    void ShowBox(const std::string& text, UINT flags);
    bool Receive(UINT message);

    const ProgramObjects& objects_;
    Links links_;
    // Read anew only when the settings file has changed.
    TStoredAlarmReader storedAlarm_;
    std::optional<CheckReading> lastCheck_;
    int boxesOpen_ = 0;
    bool alarmMessageOpen_ = false;
    bool failureBoxOpen_ = false;
    std::string lastFailure_;
    std::deque<std::function<void()>> later_;
    TAlarmWake wake_;
    TMessageWindow window_{[this](UINT message, WPARAM, LPARAM) { return Receive(message); }};
};
