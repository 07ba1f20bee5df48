#pragma once
// The machine going to sleep and waking, as the power messages tell them,
// and the end of the Windows session. Only top-level windows hear those, and
// inside the taskbar the clock's own window is none, so the watch listens on
// the application's window.
#include "toolkit/window.h"

#include <functional>

class TPowerWatch : public TWindowHook {
  public:
    std::function<void(TPowerWatch* sender)> OnSuspend;
    // Windows may tell of one waking twice: automatically, then when the user is back.
    std::function<void(TPowerWatch* sender)> OnResume;
    // The session ends: the program is ended as soon as this returns.
    std::function<void(TPowerWatch* sender)> OnSessionEnd;
    // Runs action once the message now handled has been answered: the system
    // waits for the answer to a power message and must not wait for a box.
    void Later(std::function<void()> action);

  protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    std::function<void()> later_;
};
