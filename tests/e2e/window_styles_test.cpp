// The real program in the taskbar style, against a stand-in taskbar run as a
// program of its own: what no test inside one process can see. The desktop
// styles are tested in-process.
#include "clock_process.h"
#include "log_pixels.h"
#include "tray_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT r = WindowRect(child);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(child, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

bool Shown(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The panels of the clock window, told apart by where the layout puts them.
struct Panels {
    HWND large = nullptr; // Panel1, the only panel with the date row and the clock inside
    HWND small = nullptr; // Panel3, 56 wide on the desktop
    HWND date = nullptr;  // Panel4
    HWND clock = nullptr; // AMClock1
};

Panels FindPanels(HWND window) {
    Panels panels;
    for (HWND child : DirectChildren(window)) {
        if (ClassOf(child) != L"TPanel") {
            continue;
        }
        RECT r = ChildRect(child);
        if (r.left == 19 && r.top == 6) {
            panels.large = child;
        } else if (r.left != 1) { // Panel2, the menu button's holder, lies at the left edge
            panels.small = child;
        }
    }
    if (panels.large) {
        for (HWND inner : DirectChildren(panels.large)) {
            if (ClassOf(inner) == L"TPanel") {
                panels.date = inner;
            } else if (ClassOf(inner) == L"TAMClock") {
                panels.clock = inner;
            }
        }
    }
    return panels;
}

// The clock window inside the stand-in taskbar's clock area, once it is there.
HWND WaitForClockIn(HWND trayClock, DWORD timeoutMs = 15000) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowExW(trayClock, nullptr, L"TForm1", nullptr);
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool CloseInTaskbar(ClockProcess& clock, HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return clock.WaitForExit(15000);
}

} // namespace

TEST(WindowStyles, TaskbarStyleSitsInTheTrayClockAndFollowsItsWidth) {
    TrayFixture tray(62, 30);
    ASSERT_NE(tray.clock, nullptr) << "the taskbar stand-in did not start";
    ClockProcess clock("[Clock]\r\nStyle=Taskbar\r\nAnalog=1\r\nUhrposX=250\r\nUhrposY=180\r\n");
    ASSERT_TRUE(clock.Start());
    HWND window = WaitForClockIn(tray.clock);
    ASSERT_NE(window, nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, clock.ProcessId());

    // After the first tick: the area's size less one pixel in height, at 0, 0.
    ASSERT_TRUE(WaitUntil([&] { return ChildRect(window).bottom == 29; }, 5000));
    RECT r = ChildRect(window);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 62);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_FALSE(style & (WS_BORDER | WS_SYSMENU | WS_DLGFRAME)) << "no frame";
    EXPECT_TRUE(Shown(window));
    EXPECT_EQ(clock.FindWindowOfClass(L"TForm1"), nullptr) << "no top-level clock window left";

    Panels panels = FindPanels(window);
    ASSERT_NE(panels.small, nullptr);
    EXPECT_TRUE(Shown(panels.small));
    RECT row = ChildRect(panels.small);
    EXPECT_EQ(row.left, 0);
    EXPECT_EQ(row.right, 62);
    EXPECT_EQ(row.bottom, 29);
    if (panels.large) {
        EXPECT_FALSE(Shown(panels.large));
    }
    // Its pixels are checked in-process: Wine draws no child window of another
    // process's window, so here the stand-in's clock area would show through.
    tray.Resize(50, 30);
    ASSERT_TRUE(WaitUntil([&] { return ChildRect(window).right == 50; }, 5000));
    tray.Resize(80, 36);
    ASSERT_TRUE(WaitUntil([&] { return ChildRect(window).right == 80; }, 5000));
    ASSERT_TRUE(WaitUntil([&] { return ChildRect(window).bottom == 35; }, 5000));

    ASSERT_TRUE(CloseInTaskbar(clock, window));
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");
    EXPECT_EQ(clock.Setting("Clock", "Analog"), "0");
    // The place it had on the desktop when it entered, kept through the close.
    EXPECT_EQ(clock.Setting("Clock", "UhrposX"), "250");
    EXPECT_EQ(clock.Setting("Clock", "UhrposY"), "180");
}

TEST(WindowStyles, TaskbarThatGoesAwayLeavesAVisibleClockThatReturnsWithIt) {
    TrayFixture tray(62, 30);
    ASSERT_NE(tray.clock, nullptr) << "the taskbar stand-in did not start";
    ClockProcess clock("[Clock]\r\nStyle=Taskbar\r\nUhrposX=250\r\nUhrposY=180\r\n");
    ASSERT_TRUE(clock.Start());
    ASSERT_NE(WaitForClockIn(tray.clock), nullptr);

    tray.Stop();
    HWND window = clock.WaitForMainWindow(10000);
    ASSERT_NE(window, nullptr) << "the clock must come back onto the desktop";
    EXPECT_TRUE(IsWindowVisible(window));
    RECT r = WindowRect(window);
    EXPECT_EQ(r.left, 250);
    EXPECT_EQ(r.top, 180);
    EXPECT_EQ(r.right - r.left, 85);
    EXPECT_EQ(r.bottom - r.top, 32);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_BORDER);
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr) << "an unowned window would get a taskbar button";
    EXPECT_EQ(ClassOf(owner), L"TApplication");
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");

    TrayFixture restarted(62, 30);
    ASSERT_NE(restarted.clock, nullptr) << "the taskbar stand-in did not start again";
    HWND inside = WaitForClockIn(restarted.clock);
    ASSERT_NE(inside, nullptr) << "the clock must go back in";
    PostMessageW(inside, WM_CLOSE, 0, 0);
    ASSERT_TRUE(clock.WaitForExit(10000));
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");
}

TEST(WindowStyles, AnEmptyTrayClockAreaLeavesAVisibleClockUntilItHasASize) {
    TrayFixture tray(0, 0);
    ASSERT_NE(tray.clock, nullptr) << "the taskbar stand-in did not start";
    ClockProcess clock("[Clock]\r\nStyle=Taskbar\r\nUhrposX=250\r\nUhrposY=180\r\n");
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow(10000);
    ASSERT_NE(window, nullptr) << "the clock must be seen on the desktop";
    RECT r = WindowRect(window);
    EXPECT_EQ(r.left, 250);
    EXPECT_EQ(r.top, 180);
    EXPECT_EQ(r.right - r.left, 85);
    EXPECT_EQ(r.bottom - r.top, 32);
    EXPECT_EQ(FindWindowExW(tray.clock, nullptr, L"TForm1", nullptr), nullptr);
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");

    tray.Resize(62, 30);
    HWND inside = WaitForClockIn(tray.clock);
    ASSERT_NE(inside, nullptr) << "with a size the area takes the clock";
    ASSERT_TRUE(WaitUntil([&] { return ChildRect(inside).bottom == 29; }, 5000));

    // Shrunk to nothing, the area gives the clock back rather than hide it.
    tray.Resize(0, 0);
    window = clock.WaitForMainWindow(10000);
    ASSERT_NE(window, nullptr) << "the clock must come back onto the desktop";
    r = WindowRect(window);
    EXPECT_EQ(r.right - r.left, 85);
    EXPECT_EQ(r.bottom - r.top, 32);
    ASSERT_TRUE(clock.CloseAndWait());
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");
}

TEST(WindowStyles, OnATaskbarWithoutAClockAreaTheClockSitsInFrontAtItsRightEnd) {
    ASSERT_TRUE(SetProcessDPIAware());
    const struct {
        int dpi, factor;
        bool fromMenu;
    } cases[] = {{96, 1, 0}, {96, 1, 1}, {192, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.dpi << " DPI" << (c.fromMenu ? ", from the menu" : ""));
        const LogPixels screen(static_cast<DWORD>(c.dpi));
        TrayFixture tray{TrayFixture::Bridge{}};
        ASSERT_NE(tray.bridge, nullptr) << "the taskbar stand-in did not start";
        ClockProcess clock(std::string("[Clock]\r\nStyle=") + (c.fromMenu ? "Mini" : "Taskbar") +
                           "\r\nUhrposX=250\r\nUhrposY=180\r\n");
        ASSERT_TRUE(clock.Start());
        if (c.fromMenu) {
            HWND mini = clock.WaitForMainWindow();
            ASSERT_NE(mini, nullptr);
            Mouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, Centre(WindowRect(mini)));
            ASSERT_TRUE(WaitUntil([&] { return clock.FindWindowOfClass(L"#32768"); }, 5000));
            Key('T');
        }
        // Over the system clock's place: 56 wide, left of a 12-pixel strip,
        // as high as the 48-pixel face; all twice that at 192 DPI.
        const RECT bar = WindowRect(tray.tray);
        const int width = bar.right - bar.left;
        const RECT place{width - 68 * c.factor, 0, width - 12 * c.factor, 48 * c.factor};
        const POINT at{bar.left + width - 40 * c.factor, bar.top + 24 * c.factor};
        auto clockInFront = [&] {
            DWORD owner = 0;
            GetWindowThreadProcessId(WindowFromPoint(at), &owner);
            return owner == clock.ProcessId();
        };
        ASSERT_TRUE(WaitUntil(clockInFront, 15000));
        HWND window = FindWindowExW(tray.tray, nullptr, L"TForm1", nullptr);
        ASSERT_NE(window, nullptr);
        RECT r{};
        ASSERT_TRUE(WaitUntil([&] { return EqualRect(&place, &(r = ChildRect(window))); }, 5000))
            << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom;

        // The shell raises the face over its taskbar's other children; auto-hide
        // moves the taskbar out of view and back.
        const UINT keep = SWP_NOSIZE | SWP_NOACTIVATE;
        SetWindowPos(tray.bridge, HWND_TOP, 0, 0, 0, 0, keep | SWP_NOMOVE);
        EXPECT_TRUE(WaitUntil(clockInFront, 5000)) << "behind the raised taskbar";
        SetWindowPos(tray.tray, nullptr, bar.left, bar.bottom, 0, 0, keep | SWP_NOZORDER);
        EXPECT_TRUE(WaitUntil([&] { return !clockInFront(); }, 5000)) << "left behind";
        SetWindowPos(tray.tray, nullptr, bar.left, bar.top, 0, 0, keep | SWP_NOZORDER);
        EXPECT_TRUE(WaitUntil(clockInFront, 5000)) << "not back with the taskbar";

        ASSERT_TRUE(CloseInTaskbar(clock, window));
        EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");
    }
}
