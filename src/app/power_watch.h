#pragma once
// The machine waking from sleep, the system time being set and the end of the
// Windows session, as the broadcast messages tell them. Only top-level windows
// hear those, and inside the taskbar the clock's own window is none, so the
// watch listens on the application's window.
#include "toolkit/window.h"

#include <functional>

class TPowerWatch : public TWindowHook {
  public:
    // Windows may tell of one waking twice: automatically, then when the user is back.
    std::function<void(TPowerWatch* sender)> OnResume;
    // The system time or the time zone was changed.
    std::function<void(TPowerWatch* sender)> OnTimeChange;
    // The session ends: the program is ended as soon as this returns.
    std::function<void(TPowerWatch* sender)> OnSessionEnd;

  protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
