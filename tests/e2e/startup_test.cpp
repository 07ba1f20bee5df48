// The real program: first start, single instance, frame, dragging, and the
// position it keeps in its settings file.
#include "clock_process.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Where a clock without a stored position starts: the screen width minus the
// width the window has before its style is applied (a client area 638 wide),
// so it does not touch the right screen edge.
int DefaultLeft(HWND window) {
    RECT outer = WindowRect(window), client{};
    GetClientRect(window, &client);
    const int frame = (outer.right - outer.left) - client.right;
    return GetSystemMetrics(SM_CXSCREEN) - (638 + frame);
}

} // namespace

TEST(Startup, FirstStartInAnEmptyFolder) {
    ClockProcess clock;
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);

    RECT r = WindowRect(window);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, DefaultLeft(window));
    EXPECT_EQ(r.right - r.left, 154);
    EXPECT_EQ(r.bottom - r.top, 69);

    LONG style = GetWindowLongW(window, GWL_STYLE);
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_DLGFRAME) << "no title bar";
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(WindowText(window), "");
    EXPECT_EQ(GetForegroundWindow(), window) << "in front and active, so F1 reaches it";

    // Owned by the hidden application window: no taskbar button.
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    wchar_t className[32] = {};
    GetClassNameW(owner, className, 32);
    EXPECT_STREQ(className, L"TApplication");
    EXPECT_EQ(WindowText(owner), "Tikkora");
    EXPECT_FALSE(IsWindowVisible(owner));

    ASSERT_TRUE(clock.CloseAndWait());
    EXPECT_EQ(clock.Setting("Clock", "UhrposX"), std::to_string(r.left));
    EXPECT_EQ(clock.Setting("Clock", "UhrposY"), "0");
    EXPECT_EQ(clock.Setting("Clock", "Analog"), "0");
    EXPECT_EQ(clock.Setting("Clock", "Style"), "Standard");
}

TEST(Startup, SecondStartEndsAtOnceAndShowsNothing) {
    ClockProcess first;
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitForMainWindow(), nullptr);

    ClockProcess second;
    ASSERT_TRUE(second.Start());
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(second.FindWindowOfClass(L"TForm1"), nullptr);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(first.CloseAndWait());
    // The second instance wrote nothing.
    EXPECT_EQ(second.ReadSettings(), "");
}

TEST(Startup, SeveralStartsAtOnceInOneFolderLeaveOneClock) {
    // The autostart and a double click on the shortcut: all made first and let
    // go together, so that none has a window yet when the others look for one.
    ClockProcess first;
    std::vector<std::unique_ptr<ClockProcess>> starts;
    for (int i = 0; i < 5; ++i) {
        starts.push_back(std::make_unique<ClockProcess>(ClockProcess::InFolderOf{first}));
        ASSERT_TRUE(starts.back()->Start(true));
    }
    for (auto& start : starts) {
        start->Resume();
    }
    auto clocks = [&] {
        int running = 0, shown = 0;
        for (auto& start : starts) {
            running += start->Running();
            shown += start->FindWindowOfClass(L"TForm1") != nullptr;
        }
        return running == 1 && shown == 1;
    };
    ASSERT_TRUE(WaitUntil(clocks, 20000));
    for (auto& start : starts) {
        DWORD exitCode = 99;
        EXPECT_TRUE(start->CloseAndWait() || (start->WaitForExit(0, &exitCode) && exitCode == 0));
    }
}

TEST(Startup, StoredPositionIsUsedAndKeptOnScreen) {
    struct Case {
        const char* x;
        const char* y;
        int expectLeft; // -1: screen width minus window width; -2: the default left
        int expectTop;  // -1: screen height minus window height
    } cases[] = {
        {"100", "200", 100, 200}, {"5000", "10", -1, 10}, // beyond the right edge
        {"40", "-30", 40, -30},                           // still overlaps the top edge: stays
        {"0x20", "$10", 32, 16},                          // hexadecimal as the file format allows
        {"abc", "9999", -2, -1}, // letters: default left; far below: pulled up
        {"-4000", "-4000", 0, 0},
    };
    for (const Case& c : cases) {
        ClockProcess clock(std::string("[Clock]\r\nUhrposX=") + c.x + "\r\nUhrposY=" + c.y +
                           "\r\n");
        ASSERT_TRUE(clock.Start());
        HWND window = clock.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        RECT r = WindowRect(window);
        int width = r.right - r.left, height = r.bottom - r.top;
        int left = c.expectLeft == -1   ? GetSystemMetrics(SM_CXSCREEN) - width
                   : c.expectLeft == -2 ? DefaultLeft(window)
                                        : c.expectLeft;
        int top = c.expectTop == -1 ? GetSystemMetrics(SM_CYSCREEN) - height : c.expectTop;
        EXPECT_EQ(r.left, left) << "UhrposX=" << c.x;
        EXPECT_EQ(r.top, top) << "UhrposY=" << c.y;
        ASSERT_TRUE(clock.CloseAndWait());
        EXPECT_EQ(clock.Setting("Clock", "UhrposX"), std::to_string(left));
        EXPECT_EQ(clock.Setting("Clock", "UhrposY"), std::to_string(top));
    }
}

TEST(Startup, GarbageSettingsGiveTheDefaults) {
    std::string garbage =
        "\x01\x02 not an ini file at all\r\n[Clock\r\n=== \r\n[Clock]\r\nUhrposX=" +
        std::string(3000, '7') + "\r\nStatus=" + std::string(3000, 'x') + "\r\n";
    ClockProcess clock(garbage);
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT r = WindowRect(window);
    EXPECT_EQ(r.left, DefaultLeft(window));
    EXPECT_EQ(r.top, 0);
    // "Status" is no "top": the window is not kept on top.
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(clock.CloseAndWait());
}

TEST(Startup, StatusTopInAnyCaseKeepsTheWindowOnTop) {
    for (const char* status : {"TOP", "Top", "tOp"}) {
        ClockProcess clock(std::string("[Clock]\r\nStatus=") + status + "\r\n");
        ASSERT_TRUE(clock.Start());
        HWND window = clock.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << status;
        EXPECT_TRUE(clock.CloseAndWait());
    }
    ClockProcess back("[Clock]\r\nStatus=Back\r\n");
    ASSERT_TRUE(back.Start());
    HWND window = back.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(back.CloseAndWait());
}

TEST(Startup, DraggingTheBackgroundMovesTheWindow) {
    ClockProcess clock("[Clock]\r\nUhrposX=300\r\nUhrposY=200\r\n");
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT before = WindowRect(window);

    // Press on the bare background near the left edge and pull 60 right, 40 down.
    POINT grip{before.left + 8, before.top + 8};
    SetCursorPos(grip.x, grip.y);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    // The press starts the system's move loop, which holds the mouse.
    ASSERT_TRUE(WaitUntil([&] { return GuiStateOf(window).hwndCapture == window; }, 5000));
    for (int step = 1; step <= 10; ++step) {
        SetCursorPos(grip.x + 6 * step, grip.y + 4 * step);
        mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    }
    WaitUntil([&] { return WindowRect(window).left == before.left + 60; }, 5000);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return GuiStateOf(window).hwndCapture == nullptr; }, 5000));
    ASSERT_EQ(WindowRect(window).left, before.left + 60);
    RECT after = WindowRect(window);
    EXPECT_EQ(after.top, before.top + 40);

    ASSERT_TRUE(clock.CloseAndWait());
    EXPECT_EQ(clock.Setting("Clock", "UhrposX"), std::to_string(after.left));
    EXPECT_EQ(clock.Setting("Clock", "UhrposY"), std::to_string(after.top));
}

TEST(Startup, RefusedWriteAtCloseIsReportedAndTheClockStillCloses) {
    // A folder where the settings file should be: reads give the defaults and
    // every write is refused, on any system and for any user.
    ClockProcess clock;
    ASSERT_TRUE(CreateDirectoryW(clock.SettingsPath().c_str(), nullptr));
    ASSERT_TRUE(clock.Start());
    // Start-up already stores the analog mode: the first refusal is reported
    // and the window still comes up.
    HWND startBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (startBox = FindMessageBox(clock.ProcessId())) != nullptr; },
                          10000));
    EXPECT_EQ(MessageBoxText(startBox).rfind("Unable to write to ", 0), 0u);
    PressButton(startBox, IDOK);
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FindMessageBox(clock.ProcessId()) == nullptr; }, 5000));
    SetWindowPos(window, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(window, WM_CLOSE, 0, 0);

    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindMessageBox(clock.ProcessId())) != nullptr; }, 10000))
        << "no error message";
    EXPECT_EQ(WindowText(box), "Tikkora");
    std::string text = MessageBoxText(box);
    EXPECT_EQ(text.rfind("Unable to write to ", 0), 0u) << text;
    EXPECT_NE(text.find("Tikkora.ini"), std::string::npos) << text;
    PressButton(box, IDOK);
    EXPECT_TRUE(clock.WaitForExit(10000));
    RemoveDirectoryW(clock.SettingsPath().c_str());
}
