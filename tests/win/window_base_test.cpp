// The window base's order: bound to its object before the first message,
// hooks run newest first before the object, and unbound, hooks and all, at
// the last message.
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> events;
const std::map<UINT, std::string> kRecorded = {{WM_NCCREATE, "WM_NCCREATE"},
                                               {WM_CREATE, "WM_CREATE"},
                                               {WM_DESTROY, "WM_DESTROY"},
                                               {WM_NCDESTROY, "WM_NCDESTROY"},
                                               {WM_USER, "WM_USER"}};

struct RecordedWindow : TWindow {
    bool Make() { return CreateWindowHandle({L"TikkoraOrderTest"}, L"", WS_POPUP, 0, {}, nullptr); }
    using TWindow::DestroyHandle;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (kRecorded.count(message)) {
            const bool bound = Handle() && TWindow::FromHandle(Handle()) == this;
            events.push_back(kRecorded.at(message) + (bound ? " bound" : " unbound"));
        }
        return TWindow::HandleMessage(message, wParam, lParam);
    }
};

struct RecordedHook : TWindowHook {
    explicit RecordedHook(std::string name) : name(std::move(name)) {}
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (kRecorded.count(message)) {
            events.push_back(name + " " + kRecorded.at(message));
        }
        return CallNext(message, wParam, lParam);
    }
    std::string name;
};

} // namespace

TEST(WindowBase, BoundAtTheFirstMessageHooksNewestFirstUnboundAtTheLast) {
    events.clear();
    RecordedWindow window;
    ASSERT_TRUE(window.Make());
    HWND handle = window.Handle();
    RecordedHook older("older"), newer("newer");
    older.Hook(handle);
    newer.Hook(handle);
    SendMessageW(handle, WM_USER, 0, 0);
    window.DestroyHandle();
    const std::vector<std::string> expected = {
        "WM_NCCREATE bound", "WM_CREATE bound",  "newer WM_USER",    "older WM_USER",
        "WM_USER bound",     "newer WM_DESTROY", "older WM_DESTROY", "WM_DESTROY bound"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(older.Hooked(), nullptr);
    EXPECT_EQ(newer.Hooked(), nullptr);
}
