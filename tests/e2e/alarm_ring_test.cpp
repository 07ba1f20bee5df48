// The real program rings an alarm set for the coming minute: the message at
// second 00, a standing display while it is open, a one-shot alarm switched
// off after it is closed.
#include "clock_process.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool SamePixels(const Screenshot& a, const Screenshot& b) {
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

int CountOther(const Screenshot& shot, COLORREF background) {
    int n = 0;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            n += shot.Pixel(x, y) != background;
        }
    }
    return n;
}

} // namespace

TEST(AlarmRing, OneShotAlarmRingsAtSecondZeroAndSwitchesItselfOff) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The coming minute, or the one after when this one is nearly over.
    int ahead = now.wSecond >= 50 ? 2 : 1;
    int minutes = (now.wHour * 60 + now.wMinute + ahead) % (24 * 60);
    char settings[256];
    std::snprintf(settings, sizeof(settings),
                  "[Wecker]\r\nStunde=%02d\r\nMinute=%02d\r\nAktiv=1\r\nAktivMode=1\r\n"
                  "Sound=Tikkora.wav\r\nMeldung=Aufstehen!\r\n",
                  minutes / 60, minutes % 60);
    ClockProcess clock(settings);
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const RECT alarmLine = PanelOnScreen(window, 56, 17);
    ASSERT_NE(alarmLine.right, 0);
    EXPECT_GT(CountOther(Screenshot(alarmLine), RGB(100, 145, 102)), 20) << "alarm line not shown";

    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindMessageBox(clock.ProcessId())) != nullptr; }, 150000))
        << "the alarm did not ring";
    SYSTEMTIME rang;
    GetLocalTime(&rang);
    EXPECT_EQ(rang.wHour * 60 + rang.wMinute, minutes);
    EXPECT_LE(rang.wSecond, 1) << "the message came late in the minute";
    EXPECT_EQ(WindowText(box), "Tikkora");
    EXPECT_EQ(MessageBoxText(box), "Aufstehen!");

    // While the message is open no tick arrives: the display stands still.
    const RECT large = PanelOnScreen(window, 123, 51);
    Screenshot first(large);
    Sleep(3000);
    Screenshot later(large);
    EXPECT_TRUE(SamePixels(first, later)) << "the display moved while the message was open";
    EXPECT_EQ(clock.Setting("Wecker", "Aktiv"), "1") << "switched off before the message closed";

    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return clock.Setting("Wecker", "Aktiv") == "0"; }, 5000));
    EXPECT_EQ(clock.Setting("Wecker", "AktivMode"), "0");
    Sleep(500);
    EXPECT_EQ(CountOther(Screenshot(alarmLine), RGB(100, 145, 102)), 0) << "alarm line still shown";
    // The clock runs again and jumps to the current time.
    Screenshot moved(large);
    EXPECT_FALSE(SamePixels(later, moved));
    EXPECT_TRUE(clock.CloseAndWait());
}
