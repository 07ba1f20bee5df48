#pragma once
// The machine waking from sleep and the system time being set, as the
// broadcast messages tell them. Only top-level windows hear those, and inside
// the taskbar the clock's own window is none, so the watch listens on the
// application's window.
#include "toolkit/window.h"

#include <functional>

class TPowerWatch : public TWindowHook {
  public:
    // Windows may tell of one waking twice: automatically, then when the user is back.
    std::function<void(TPowerWatch* sender)> OnResume;
    // The system time or the time zone was changed.
    std::function<void(TPowerWatch* sender)> OnTimeChange;

  protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
