// The real program in its window styles: the size and rows of each stored
// style, where a stored place ends up, always-on-top, and the taskbar style
// against a stand-in taskbar run as a program of its own.
#include "clock_process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kResizeClockMessage = WM_APP + 1; // understood by the taskbar stand-in

// The stand-in taskbar: "Shell_TrayWnd" > "TrayNotifyWnd" > "TrayClockWClass".
class TrayFixture {
  public:
    TrayFixture(int width, int height) {
        std::wstring exe = BuildFolder() + L"\\tikkora_tray_fixture.exe";
        std::wstring commandLine =
            L"\"" + exe + L"\" " + std::to_wstring(width) + L" " + std::to_wstring(height);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_)) {
            return;
        }
        WaitUntil([&] { return (clock = FindClock()) != nullptr; }, 10000);
    }
    ~TrayFixture() { Stop(); }
    TrayFixture(const TrayFixture&) = delete;
    TrayFixture& operator=(const TrayFixture&) = delete;

    void Resize(int width, int height) {
        SendMessageW(tray, kResizeClockMessage, static_cast<WPARAM>(width), height);
    }
    // Ends the stand-in, as when the shell's taskbar goes away.
    void Stop() {
        if (!process_.hProcess) {
            return;
        }
        if (tray) {
            PostMessageW(tray, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = PROCESS_INFORMATION{};
        tray = notify = clock = nullptr;
    }

    HWND tray = nullptr;
    HWND notify = nullptr;
    HWND clock = nullptr;

  private:
    HWND FindClock() {
        tray = FindWindowW(L"Shell_TrayWnd", L"");
        DWORD owner = 0;
        if (tray) {
            GetWindowThreadProcessId(tray, &owner);
        }
        if (owner != process_.dwProcessId) {
            return nullptr;
        }
        notify = FindWindowExW(tray, nullptr, L"TrayNotifyWnd", L"");
        return notify ? FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr) : nullptr;
    }

    PROCESS_INFORMATION process_{};
};

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

// Pixels of a window's client area read back from the screen; counts the dark
// glyph pixels (black segments and hands of the plain LCD style) in an area.
class ClientShot {
  public:
    explicit ClientShot(HWND window) : window_(window), shot_(ClientArea(window)) {}
    // Rectangle in the window's client coordinates, right and bottom exclusive.
    int DarkPixels(int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (x < 0 || y < 0 || x >= shot_.Width() || y >= shot_.Height()) {
                    continue;
                }
                COLORREF c = shot_.Pixel(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 150) {
                    ++count;
                }
            }
        }
        return count;
    }
    int DarkPixelsIn(HWND child, int left, int top, int right, int bottom) const {
        POINT origin{0, 0};
        MapWindowPoints(child, window_, &origin, 1);
        return DarkPixels(origin.x + left, origin.y + top, origin.x + right, origin.y + bottom);
    }
    void Save(const std::wstring& path) const { shot_.Save(path); }

  private:
    static RECT ClientArea(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        return client;
    }
    HWND window_;
    Screenshot shot_;
};

// Lets the clock draw a few seconds so every row has its glyphs.
void Settle() {
    Sleep(1500);
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

TEST(WindowStyles, EachStoredStyleStartsWithItsSizeAndRows) {
    struct Case {
        const char* style;
        bool analog;
        int width, height;
    } cases[] = {
        {"Standard", false, 154, 69},
        {"Standard", true, 154, 69},
        {"Mini", false, 85, 32},
        {"Mini", true, 82, 69},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.style) + (c.analog ? " analog" : " digital"));
        ClockProcess clock(std::string("[Clock]\r\nStyle=") + c.style + "\r\nAnalog=" +
                           (c.analog ? "1" : "0") + "\r\nUhrposX=200\r\nUhrposY=150\r\n");
        ASSERT_TRUE(clock.Start());
        HWND window = clock.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        Settle();

        RECT r = WindowRect(window);
        EXPECT_EQ(r.left, 200);
        EXPECT_EQ(r.top, 150);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.height);
        LONG style = GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_SYSMENU | WS_DLGFRAME),
                  WS_POPUP | WS_BORDER | WS_SYSMENU);
        EXPECT_EQ(GetWindow(window, GW_OWNER) != nullptr, true);

        RECT client{};
        GetClientRect(window, &client);
        Panels panels = FindPanels(window);
        ClientShot shot(window);
        const bool mini = std::string(c.style) == "Mini";
        const bool largeRow = !mini || c.analog;
        ASSERT_NE(panels.small, nullptr);

        if (largeRow) {
            ASSERT_NE(panels.large, nullptr);
            EXPECT_TRUE(Shown(panels.large));
            RECT large = ChildRect(panels.large);
            EXPECT_EQ(large.right - large.left, mini ? 52 : 123);
            ASSERT_NE(panels.clock, nullptr);
            EXPECT_EQ(Shown(panels.clock), c.analog);
            if (c.analog) {
                // Black hands on the face.
                EXPECT_GT(shot.DarkPixelsIn(panels.clock, 0, 0, 47, 47), 20);
            }
            // The lower dot of the second colon of the large row.
            int colon = shot.DarkPixelsIn(panels.large, 79, 21, 83, 28);
            if (c.analog) {
                EXPECT_EQ(colon, 0) << "large digits hidden";
            } else {
                EXPECT_GT(colon, 0) << "large digits shown";
                EXPECT_GT(shot.DarkPixelsIn(panels.large, 6, 6, 116, 33), 100);
            }
        } else if (panels.large) {
            EXPECT_FALSE(Shown(panels.large));
        }

        // The date row: under the digits, beside the clock, or out of sight in the mini styles.
        if (!mini) {
            ASSERT_NE(panels.date, nullptr);
            RECT date = ChildRect(panels.date);
            EXPECT_EQ(date.top, c.analog ? 30 : 34);
            EXPECT_GT(shot.DarkPixelsIn(panels.date, 0, 0, 59, 15), 20) << "date drawn";
        } else if (c.analog) {
            RECT date = ChildRect(panels.date);
            RECT large = ChildRect(panels.large);
            EXPECT_GE(date.left, large.right - large.left) << "date row outside the narrowed panel";
        }

        // The small row: alarm line (empty without an alarm) on the standard
        // window, the time in the mini window, out of the window in mini analog.
        RECT small = ChildRect(panels.small);
        RECT overlap;
        const bool smallInside = Shown(panels.small) && IntersectRect(&overlap, &small, &client);
        if (mini && c.analog) {
            EXPECT_FALSE(smallInside);
        } else {
            EXPECT_TRUE(smallInside);
            EXPECT_EQ(small.right - small.left, 56);
            if (mini) {
                EXPECT_EQ(small.left, 20);
                EXPECT_EQ(small.top, 4);
                EXPECT_EQ(small.bottom - small.top, 19);
                EXPECT_GT(shot.DarkPixelsIn(panels.small, 6, 4, 50, 13), 20) << "small time drawn";
                EXPECT_GT(shot.DarkPixelsIn(panels.small, 38, 4, 50, 13), 0) << "seconds shown";
            } else {
                EXPECT_EQ(small.left, c.analog ? 85 : 20);
                EXPECT_EQ(small.top, c.analog ? 9 : 39);
                EXPECT_EQ(shot.DarkPixelsIn(panels.small, 6, 4, 50, 13), 0) << "no alarm set";
            }
        }
        if (HasFailure()) {
            shot.Save(clock.Folder() + L"\\..\\tikkora-style-failure.bmp");
        }
        ASSERT_TRUE(clock.CloseAndWait());
        EXPECT_EQ(clock.Setting("Clock", "Style"), c.style);
        EXPECT_EQ(clock.Setting("Clock", "Analog"), c.analog ? "1" : "0");
    }
}

TEST(WindowStyles, StoredPlaceOffTheScreenEndsFlushWithTheEdge) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    for (const char* style : {"Standard", "Mini"}) {
        SCOPED_TRACE(style);
        ClockProcess clock(std::string("[Clock]\r\nStyle=") + style +
                           "\r\nAnalog=0\r\nUhrposX=5000\r\nUhrposY=-30\r\n");
        ASSERT_TRUE(clock.Start());
        HWND window = clock.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        RECT r = WindowRect(window);
        EXPECT_EQ(r.left, screenWidth - (r.right - r.left));
        EXPECT_EQ(r.right, screenWidth);
        // Still overlapping the top edge: not moved.
        EXPECT_EQ(r.top, -30);
        ASSERT_TRUE(clock.CloseAndWait());
    }
}

TEST(WindowStyles, AlwaysOnTopFollowsTheStoredStatusInEveryDesktopStyle) {
    for (const char* style : {"Standard", "Mini"}) {
        for (const char* status : {"Back", "TOP"}) {
            SCOPED_TRACE(std::string(style) + " " + status);
            ClockProcess clock(std::string("[Clock]\r\nStyle=") + style + "\r\nStatus=" + status +
                               "\r\n");
            ASSERT_TRUE(clock.Start());
            HWND window = clock.WaitForMainWindow();
            ASSERT_NE(window, nullptr);
            const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            EXPECT_EQ(topmost, std::string(status) == "TOP");
            ASSERT_TRUE(clock.CloseAndWait());
        }
    }
}

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

TEST(WindowStyles, StartInTheTaskbarStyleWithoutATaskbarClockWaitsAsMiniWithoutAMessage) {
    HWND systemTray = FindWindowW(L"Shell_TrayWnd", L"");
    if (systemTray && FindWindowExW(systemTray, nullptr, L"TrayNotifyWnd", L"")) {
        GTEST_SKIP() << "this system's taskbar has a notification area";
    }
    ClockProcess clock("[Clock]\r\nStyle=Taskbar\r\nUhrposX=300\r\nUhrposY=200\r\n");
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    Sleep(1000);
    EXPECT_EQ(FindMessageBox(clock.ProcessId()), nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT r = WindowRect(window);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 85);
    EXPECT_EQ(r.bottom - r.top, 32);
    ASSERT_TRUE(clock.CloseAndWait());
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Taskbar");
}
