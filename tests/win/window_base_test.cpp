// The window base's order: bound to its object before the first message,
// hooks run newest first before the object, and unbound, hooks and all, at
// the last message.
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

bool Recorded(UINT message) {
    return message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY ||
           message == WM_NCDESTROY || message == WM_USER;
}

std::string NameOf(UINT message) {
    switch (message) {
    case WM_NCCREATE:
        return "WM_NCCREATE";
    case WM_CREATE:
        return "WM_CREATE";
    case WM_DESTROY:
        return "WM_DESTROY";
    case WM_NCDESTROY:
        return "WM_NCDESTROY";
    default:
        return "WM_USER";
    }
}

class RecordedWindow : public TWindow {
  public:
    bool Make() {
        return CreateWindowHandle({L"TikkoraMessageOrderTest"}, L"", WS_POPUP, 0, {0, 0, 10, 10},
                                  nullptr);
    }
    using TWindow::DestroyHandle;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (Recorded(message)) {
            const bool bound = Handle() && TWindow::FromHandle(Handle()) == this;
            events.push_back(NameOf(message) + (bound ? " bound" : " unbound"));
        }
        return TWindow::HandleMessage(message, wParam, lParam);
    }
};

class RecordedHook : public TWindowHook {
  public:
    explicit RecordedHook(std::string name) : name_(std::move(name)) {}

  protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (Recorded(message)) {
            events.push_back(name_ + " " + NameOf(message));
        }
        return CallNext(message, wParam, lParam);
    }

  private:
    std::string name_;
};

} // namespace

TEST(WindowBase, BoundAtTheFirstMessageHooksNewestFirstUnboundAtTheLast) {
    events.clear();
    RecordedWindow window;
    ASSERT_TRUE(window.Make());
    HWND handle = window.Handle();
    RecordedHook older("older");
    RecordedHook newer("newer");
    older.Hook(handle);
    newer.Hook(handle);
    SendMessageW(handle, WM_USER, 0, 0);
    window.DestroyHandle();

    const std::vector<std::string> expected = {
        "WM_NCCREATE bound", "WM_CREATE bound",  "newer WM_USER",    "older WM_USER",
        "WM_USER bound",     "newer WM_DESTROY", "older WM_DESTROY", "WM_DESTROY bound",
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(older.Hooked(), nullptr);
    EXPECT_EQ(newer.Hooked(), nullptr);
}
