#pragma once
// TThreadTimer: the socket layer's time-out timer. Despite its name no thread
// is involved: the system timer of a hidden message window of its own raises
// OnTimer on the thread that made it, inside whatever message loop is running,
// the socket layer's waits included.
#include "toolkit/message_window.h"

#include <functional>

class TThreadTimer {
  public:
    TThreadTimer();
    ~TThreadTimer();
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    // Raised with the timer as sender; a failure goes to the application's
    // error report. Assigning it always re-applies the timer.
    void SetOnTimer(std::function<void(TThreadTimer* sender)> onTimer);

  private:
    void UpdateTimer();
    bool Receive(UINT message, WPARAM wParam);

    TMessageWindow window_{
        [this](UINT message, WPARAM wParam, LPARAM) { return Receive(message, wParam); }};

    bool enabled_ = true;
    UINT interval_ = 1000;
    std::function<void(TThreadTimer* sender)> onTimer_;
};
