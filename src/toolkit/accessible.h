#pragma once
// What a screen reader is told of a window the program draws itself: its
// client area as one element, and the elements without a window of their own
// drawn in it (links, texts), through the system's accessibility interface.
// A reader may call in from another thread or process at any time, so the
// object it gets holds copies of the texts, never pointers into the window;
// when the window goes, the object is cut off and answers every later call
// with CO_E_OBJNOTCONNECTED.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct AccessibleElement {
    long role = 0;
    std::string name;
    std::string value;
    std::string description;
    // The name of the default action; empty when the element has none.
    std::string defaultAction;
    // Children only: where it lies, in the window's client coordinates.
    RECT bounds{};
    // Added to the states the window itself gives (visible, focused).
    long state = 0;

    bool operator==(const AccessibleElement& other) const;
};

class AccessibleServer;

class TAccessible {
  public:
    TAccessible() = default;
    ~TAccessible();
    TAccessible(const TAccessible&) = delete;
    TAccessible& operator=(const TAccessible&) = delete;

    const AccessibleElement& Self() const { return self_; }
    void SetSelf(const AccessibleElement& self);
    // The children take the ids 1, 2, ... in this order.
    void SetChildren(const std::vector<AccessibleElement>& children);

    // WM_GETOBJECT: the object for OBJID_CLIENT, made on the first request;
    // 0 for every other object, which the system then gives.
    LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam);
    // The window is being destroyed: readers holding the object are cut off.
    void Disconnect();

    // What a reader's default action posts to the window, on the window's
    // own thread: wParam is the child id, 0 for the window itself.
    static UINT ActionMessage();

    // The reader's part of a window procedure: WM_GETOBJECT (refresh brings
    // the copies up to date first), the default action (act gets the child
    // id) and WM_DESTROY (readers are cut off, the window goes on with it).
    // True when the message was answered with *result.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       const std::function<void()>& refresh,
                       const std::function<void(WPARAM child)>& act);

  private:
    AccessibleElement self_;
    std::vector<AccessibleElement> children_;
    AccessibleServer* server_ = nullptr;
};
