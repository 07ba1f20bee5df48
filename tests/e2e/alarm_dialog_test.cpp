// The alarm dialog of the real program: opened by a double click on the
// display, operated with mouse and keyboard input, and what it leaves in the
// settings file.
#include "clock_process.h"
#include "window_search.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

HWND FindCombo(HWND dialog, DWORD style) {
    return FindChildWindow(dialog, [&](HWND child) {
        return HasClass(child, L"ComboBox") &&
               (static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & 3) == style;
    });
}

// The lines of [meldungen] in file order.
std::vector<std::string> HistoryLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inside = line == "[meldungen]";
        } else if (inside && !line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

class AlarmDialogEndToEnd : public testing::Test {
  protected:
    // Double-clicks the time on the display and waits for the dialog.
    HWND OpenByDoubleClick() {
        HWND panel = FindWindowExW(main, nullptr, L"TPanel", nullptr);
        EXPECT_NE(panel, nullptr);
        const RECT display = ScreenRect(panel);
        Click(display.left + 12, display.top + 12, 2);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = clock.FindWindowOfClass(L"TForm2")) != nullptr; }, 10000);
        return dialog;
    }
    bool WaitUntilClosed() {
        return WaitUntil([&] { return clock.FindWindowOfClass(L"TForm2") == nullptr; }, 10000);
    }

    ClockProcess clock{"[Clock]\r\nStatus=Top\r\n[Wecker]\r\nStunde=6\r\nMinute=30\r\nAktiv=0\r\n"
                       "Sound=tikkora.WAV\r\n[meldungen]\r\nKaffee=0\r\n"};
    HWND main = nullptr;
};

} // namespace

TEST_F(AlarmDialogEndToEnd, TimeAndMessageSetInTheDialogAreStoredByOk) {
    ASSERT_TRUE(clock.Start());
    main = clock.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    HWND dialog = OpenByDoubleClick();
    ASSERT_NE(dialog, nullptr) << "a double click on the display opens the dialog";
    EXPECT_EQ(WindowText(dialog), "Weckzeit: ");
    EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The clock goes on while the dialog is open.
    const RECT display = ScreenRect(main);
    EXPECT_TRUE(WaitForChange(display, Screenshot(display)))
        << "the seconds move behind the dialog";

    // One hour up in the picker: a click on the hour, then the arrow key.
    HWND picker = FindWindowExW(dialog, nullptr, L"SysDateTimePick32", nullptr);
    ASSERT_NE(picker, nullptr);
    const RECT pickerRect = ScreenRect(picker);
    Click(pickerRect.left + 8, (pickerRect.top + pickerRect.bottom) / 2);
    ASSERT_TRUE(WaitUntil([&] { return GuiStateOf(picker).hwndFocus == picker; }, 5000));
    Key(VK_UP);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == "Weckzeit: 7:30"; }, 5000))
        << WindowText(dialog);

    HWND messages = FindCombo(dialog, CBS_DROPDOWN);
    ASSERT_NE(messages, nullptr);
    HWND edit = FindWindowExW(messages, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"  Aufstehen  "));
    HWND sounds = FindCombo(dialog, CBS_DROPDOWNLIST);
    ASSERT_NE(sounds, nullptr);
    EXPECT_EQ(SendMessageW(sounds, CB_GETCURSEL, 0, 0), 0) << "Tikkora.wav, found ignoring case";

    HWND ok = FindWindowExW(dialog, nullptr, L"Button", L"OK");
    ASSERT_NE(ok, nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_TRUE(
        WaitUntil([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000))
        << "on top again";

    EXPECT_EQ(clock.Setting("Wecker", "Stunde"), "07");
    EXPECT_EQ(clock.Setting("Wecker", "Minute"), "30");
    EXPECT_EQ(clock.Setting("Wecker", "Meldung"), "Aufstehen");
    EXPECT_EQ(clock.Setting("Wecker", "Aktiv"), "0");
    EXPECT_EQ(clock.Setting("Wecker", "AktivMode"), "0");
    EXPECT_EQ(clock.Setting("Wecker", "Sound"), "Tikkora.wav");
    // The message as typed heads the history; its blanks travel in the value.
    EXPECT_EQ(HistoryLines(clock.ReadSettings()),
              (std::vector<std::string>{"*0=0|%20%20Aufstehen%20%20", "Kaffee=1"}));

    // Again, with a plain message: it is the key of position "0".
    dialog = OpenByDoubleClick();
    ASSERT_NE(dialog, nullptr);
    messages = FindCombo(dialog, CBS_DROPDOWN);
    edit = FindWindowExW(messages, nullptr, L"Edit", nullptr);
    EXPECT_EQ(SendMessageW(messages, CB_GETCOUNT, 0, 0), 2);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Zahnarzt"));
    PostMessageW(FindWindowExW(dialog, nullptr, L"Button", L"OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(HistoryLines(clock.ReadSettings()),
              (std::vector<std::string>{"Zahnarzt=0", "*1=1|%20%20Aufstehen%20%20", "Kaffee=2"}));
    EXPECT_EQ(clock.Setting("Wecker", "Meldung"), "Zahnarzt");
    EXPECT_EQ(FindMessageBox(clock.ProcessId()), nullptr);
    ASSERT_TRUE(clock.CloseAndWait());
}

TEST_F(AlarmDialogEndToEnd, EscapeStoresNothing) {
    ASSERT_TRUE(clock.Start());
    main = clock.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const std::string before = clock.ReadSettings();
    HWND dialog = OpenByDoubleClick();
    ASSERT_NE(dialog, nullptr);
    HWND edit = FindWindowExW(FindCombo(dialog, CBS_DROPDOWN), nullptr, L"Edit", nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Verworfen"));
    Key(VK_ESCAPE);
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(clock.ReadSettings(), before);
    ASSERT_TRUE(clock.CloseAndWait());
}
