#pragma once
// A timer component: raises OnTimer every Interval milliseconds while it is
// enabled, on the thread that made it. The ticks come through a hidden
// message-only window of its own, so the timer needs no form and keeps
// working whatever happens to the windows of its owner.
#include "toolkit/window.h"

#include <functional>

class TTimer : private TWindow {
  public:
    explicit TTimer(UINT interval = 1000, bool enabled = true);
    ~TTimer() override;

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
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT interval_;
    bool enabled_;
    bool running_ = false;
};
