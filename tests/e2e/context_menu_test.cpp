// The real program's context menu, worked with the mouse and the keyboard as
// a user would: a style picked from it shows on the screen and stays in the
// file, the drop-down button drops it below itself, the about box opens and
// closes, the clock closes from it, and F1 says when the help is missing.
#include "clock_process.h"
#include "tray_fixture.h"
#include "window_search.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

bool ContainsColour(const Screenshot& shot, COLORREF colour) {
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.Pixel(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

// A started clock with its window, and the menu it shows.
class ContextMenu : public testing::Test {
  protected:
    void Start(const std::string& settings) {
        clock = std::make_unique<ClockProcess>(settings);
        ASSERT_TRUE(clock->Start());
        window = clock->WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_NE(WaitForDrawnDigits(window).right, 0);
    }
    RECT LargePanel() const { return PanelOnScreen(window, 123, 51); }
    HWND MenuButton() const {
        return FindChildWindow(window,
                               [](HWND child) { return HasClass(child, L"TExplorerButton"); });
    }
    // The open menu of the program, or null; keys sent before the menu's own
    // loop takes the keyboard would go to the clock and be lost.
    HWND WaitForMenu() const {
        HWND menu = nullptr;
        const bool open = WaitUntil(
            [&] {
                menu = clock->FindWindowOfClass(L"#32768");
                return menu && (GuiStateOf(window).flags & GUI_INMENUMODE);
            },
            5000);
        return open ? menu : nullptr;
    }
    HWND OpenMenuOnThePanel() const {
        Mouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, Centre(LargePanel()));
        return WaitForMenu();
    }

    void PressF1() const {
        // A click gives the clock the keyboard.
        Mouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, Centre(LargePanel()));
        WaitUntil([&] { return GuiStateOf(window).hwndFocus != nullptr; }, 5000);
        Key(VK_F1);
    }

    std::unique_ptr<ClockProcess> clock;
    HWND window = nullptr;
};

} // namespace

TEST_F(ContextMenu, RedLedAndMiniPickedFromTheMenuShowAndAreStored) {
    Start("[Clock]\r\nDisplay=LCD\r\nStyle=Standard\r\n");
    ASSERT_NE(OpenMenuOnThePanel(), nullptr);
    // "LED -Display Rot" is the eleventh item that can be chosen.
    Key(VK_DOWN, 11);
    Key(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return clock->Setting("Clock", "Display") == "LEDRot"; }, 5000));
    // The digits' cells and the panel behind them are drawn one after the other.
    WaitUntil(
        [&] {
            Screenshot shot(LargePanel());
            return shot.Pixel(119, 3) == RGB(0, 0, 0) && ContainsColour(shot, RGB(255, 0, 0));
        },
        5000);
    Screenshot shot(LargePanel());
    shot.Save(clock->Folder() + L"\\..\\tikkora-menu-ledrot.bmp");
    EXPECT_EQ(shot.Pixel(119, 3), RGB(0, 0, 0));
    EXPECT_TRUE(ContainsColour(shot, RGB(255, 0, 0))) << "no red digits";

    ASSERT_NE(OpenMenuOnThePanel(), nullptr);
    Key('M');
    EXPECT_TRUE(WaitUntil([&] { return clock->Setting("Clock", "Style") == "Mini"; }, 5000));
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right - r.left, 85);
    EXPECT_EQ(r.bottom - r.top, 32);
    ASSERT_TRUE(clock->CloseAndWait());
}

TEST_F(ContextMenu, TheButtonDropsTheMenuBelowItselfAndInfoShowsTheAboutBox) {
    Start("[Clock]\r\nStyle=Standard\r\n");
    HWND button = MenuButton();
    ASSERT_NE(button, nullptr);
    const RECT b = WindowRect(button);
    EXPECT_EQ(b.right - b.left, 14);
    EXPECT_EQ(b.bottom - b.top, 10);
    Mouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, Centre(b));
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    const RECT m = WindowRect(menu);
    EXPECT_EQ(m.left, b.left);
    EXPECT_EQ(m.top, b.bottom);

    // "Inf&o..." by its letter.
    Key('O');
    HWND about = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (about = clock->FindWindowOfClass(L"TForm3")) != nullptr; }, 5000));
    const RECT a = WindowRect(about);
    EXPECT_EQ(a.left, (GetSystemMetrics(SM_CXSCREEN) - 353) / 2);
    EXPECT_EQ(a.top, (GetSystemMetrics(SM_CYSCREEN) - 311) / 2);
    EXPECT_EQ(a.right - a.left, 353);
    EXPECT_EQ(a.bottom - a.top, 311);
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); }, 5000));
    ASSERT_TRUE(clock->CloseAndWait());
}

TEST_F(ContextMenu, TheButtonLetsGoOfTheMouseItOnlyPassedOnAnInactiveClock) {
    Start("[Clock]\r\nStyle=Standard\r\n");
    // Another program's window takes the activation from the clock.
    TrayFixture other(62, 30);
    ASSERT_NE(other.tray, nullptr);
    SetForegroundWindow(other.tray);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.tray; }, 5000));
    HWND button = MenuButton();
    ASSERT_NE(button, nullptr);
    // From somewhere else, as the mouse may still rest where an earlier test left it.
    const POINT digits = Centre(LargePanel());
    MoveMouse(digits);
    MoveMouse(Centre(WindowRect(button)));
    ASSERT_TRUE(WaitUntil([&] { return GuiStateOf(button).hwndCapture == button; }, 5000));
    MoveMouse(digits);
    WaitUntil([&] { return GuiStateOf(button).hwndCapture != button; }, 5000);
    // The double click on the digits reaches them: the alarm dialog, no menu.
    Click(digits.x, digits.y, 2);
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (dialog = clock->FindWindowOfClass(L"TForm2")) != nullptr; },
                          10000));
    EXPECT_EQ(clock->FindWindowOfClass(L"#32768"), nullptr);
    if (dialog) {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(
            WaitUntil([&] { return clock->FindWindowOfClass(L"TForm2") == nullptr; }, 10000));
    }
    ASSERT_TRUE(clock->CloseAndWait());
}

TEST_F(ContextMenu, CloseFromTheMenuEndsTheProgramAndStoresThePlace) {
    Start("[Clock]\r\nStyle=Standard\r\nUhrposX=230\r\nUhrposY=140\r\n");
    // Moved away from the stored place, so only the close can store the new one.
    SetWindowPos(window, nullptr, 260, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).left == 260; }, 3000));
    ASSERT_NE(OpenMenuOnThePanel(), nullptr);
    // "Uhr &schließen" by its letter.
    Key('S');
    ASSERT_TRUE(clock->WaitForExit(10000));
    EXPECT_EQ(clock->Setting("Clock", "UhrposX"), "260");
    EXPECT_EQ(clock->Setting("Clock", "UhrposY"), "170");
}

TEST_F(ContextMenu, ShiftF10AndTheMenuKeyOpenItAndEscapeClosesIt) {
    Start("[Clock]\r\nStyle=Standard\r\n");
    // A click gives the clock the keyboard; its menu opens and closes without taking it.
    Mouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, Centre(LargePanel()));
    WaitUntil([&] { return GuiStateOf(window).hwndFocus != nullptr; }, 5000);
    for (const WORD key : {WORD{VK_F10}, WORD{VK_APPS}}) {
        keybd_event(VK_SHIFT, 0, key == VK_F10 ? 0 : KEYEVENTF_KEYUP, 0); // held for F10 only
        Key(key);
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        HWND menu = WaitForMenu();
        Key(VK_ESCAPE);
        EXPECT_TRUE(menu && WaitUntil([&] { return !IsWindowVisible(menu); }, 5000)) << key;
    }
}

TEST_F(ContextMenu, F1WithoutTheHelpFileSaysItIsMissing) {
    Start("[Clock]\r\nStyle=Standard\r\n");
    PressF1();
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindMessageBox(clock->ProcessId())) != nullptr; }, 5000));
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find("Tikkora.chm"), std::string::npos) << text;
    EXPECT_NE(text.find("fehlt"), std::string::npos) << text;
    EXPECT_EQ(WindowText(box), "Tikkora");
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return FindMessageBox(clock->ProcessId()) == nullptr; }, 5000));
    ASSERT_TRUE(clock->CloseAndWait());
}

TEST_F(ContextMenu, F1WithTheHelpFileOpensTheHelpViewer) {
    clock = std::make_unique<ClockProcess>("[Clock]\r\nStyle=Standard\r\n");
    if (!clock->CopyBesideProgram(L"Tikkora.chm")) {
        GTEST_SKIP() << "this build made no Tikkora.chm";
    }
    ASSERT_TRUE(clock->Start());
    window = clock->WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(WaitForDrawnDigits(window).right, 0);
    PressF1();
    HWND viewer = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] { return (viewer = clock->FindWindowOfClass(L"HH Parent")) != nullptr; }, 10000));
    EXPECT_EQ(FindMessageBox(clock->ProcessId()), nullptr);
    // Closing the clock closes the viewer it opened.
    ASSERT_TRUE(clock->CloseAndWait());
}
