#pragma once
// TThreadTimer: the socket layer's time-out timer. Despite its name no thread
// is involved: it is the toolkit's timer, whose hidden message window raises
// OnTimer on the thread that made it, inside whatever message loop is running,
// the socket layer's waits included. It differs only in when it runs (never
// without a handler) and in failing loudly where the system has no timer left.
#include "toolkit/timer.h"

#include <functional>

class TThreadTimer {
  public:
    TThreadTimer();
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return timer_.Interval(); }
    void SetInterval(UINT interval);
    // Raised with the timer as sender; a failure goes to the application's
    // error report. Assigning it always re-applies the timer.
    void SetOnTimer(std::function<void(TThreadTimer* sender)> onTimer);

  private:
    // Sets the system timer afresh when it should run.
    void UpdateTimer();
    // Throws when the timer should run and the system refused it one.
    void CheckRunning() const;

    bool enabled_ = true;
    std::function<void(TThreadTimer* sender)> onTimer_;
    TTimer timer_{1000, false};
};
