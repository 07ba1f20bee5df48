#pragma once
// The alarm at its minute: sound, message and switching a one-shot alarm off,
// for the time one tick read; and the alarm's boxes, during which the ticks
// stand still.
#include "rules/alarm_check.h"
#include "toolkit/local_time_rules.h"

#include <windows.h>

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
    explicit TAlarmRunner(Links links) : links_(std::move(links)) {}
    TAlarmRunner(const TAlarmRunner&) = delete;
    TAlarmRunner& operator=(const TAlarmRunner&) = delete;

    // The check of one tick; never throws, a failure is told in a box.
    void Check(const LocalTime& now);
    // A box of the alarm; the ticks stand still while it is open.
    void ShowBox(const std::string& text, UINT flags);
    bool BoxOpen() const { return boxOpen_; }

    // The minute whose alarm has been handled; it keeps that minute quiet.
    std::optional<ClockMinute> Latch;

  private:
    void Run(const LocalTime& now);
    void ReportFailure(const std::string& text);

    Links links_;
    bool boxOpen_ = false;
    std::string lastFailure_;
};
