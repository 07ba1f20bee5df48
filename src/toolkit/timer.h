#pragma once
// A timer component: raises OnTimer every Interval milliseconds while it is
// enabled, on the thread that made it, through a hidden message window of its
// own.
#include "toolkit/message_window.h"

#include <functional>

class TTimer {
  public:
    explicit TTimer(UINT interval = 1000, bool enabled = true);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    UINT Interval() const { return interval_; }
    // An interval of 0 stops the ticks while keeping Enabled as it is.
    void SetInterval(UINT interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // True while the platform timer is set.
    bool Running() const { return running_; }

    std::function<void(TTimer* sender)> OnTimer;

  private:
    void Update();
    bool Receive(UINT message, WPARAM wParam);

    UINT interval_;
    bool enabled_;
    bool running_ = false;
    TMessageWindow window_{
        [this](UINT message, WPARAM wParam, LPARAM) { return Receive(message, wParam); }};
};
