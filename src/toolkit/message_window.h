#pragma once
// A hidden window that only receives messages: the point where timers hand
// their ticks to the thread that made them. It belongs to no form, so it keeps
// working whatever happens to the windows of its owner, and every message loop
// of the thread delivers to it, modal ones included.
#include "toolkit/window.h"

#include <functional>

class TMessageWindow : private TWindow {
  public:
    // Takes the window's messages; true when it handled one (answered with 0),
    // false leaves it to the system.
    using Receiver = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;
    explicit TMessageWindow(Receiver receiver) : receiver_(std::move(receiver)) {}

    // Makes the window unless it is already there; false when the system refused it.
    bool Open();
    // From here on no message reaches the receiver, not even one already on its way.
    void Close() { DestroyHandle(); }
    using TWindow::Handle;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    Receiver receiver_;
};
