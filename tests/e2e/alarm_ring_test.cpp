// The real program rings from its own tick an alarm set for the minute it is
// in: the display goes on while the message is open, a one-shot alarm is
// switched off after it is closed. The real program has no time seam; that it rings at
// second 00 and once a minute is shown by the window tests (AlarmCheckTest),
// with a time they set.
#include "clock_process.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

int CountOther(const Screenshot& shot, COLORREF background) {
    int n = 0;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            n += shot.Pixel(x, y) != background;
        }
    }
    return n;
}

int MinuteOfDay() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wHour * 60 + now.wMinute;
}

// Stores the current minute as the alarm time when it is not stored yet; the
// clock reads the file at every tick.
void AlarmAtThisMinute(const ClockProcess& clock, int& stored) {
    const int minutes = MinuteOfDay();
    if (minutes == stored) {
        return;
    }
    wchar_t hour[8], minute[8];
    std::swprintf(hour, 8, L"%02d", minutes / 60);
    std::swprintf(minute, 8, L"%02d", minutes % 60);
    const std::wstring path = clock.SettingsPath();
    WritePrivateProfileStringW(L"Wecker", L"Stunde", hour, path.c_str());
    WritePrivateProfileStringW(L"Wecker", L"Minute", minute, path.c_str());
    stored = minutes;
}

} // namespace

TEST(AlarmRing, OneShotAlarmRingsAndSwitchesItselfOffAfterTheMessage) {
    // Set for the minute the clock starts in, so that its first check, which
    // reads the file, rings; a start near the minute's end waits for the next.
    // The clock looks for another program's change only as a minute begins.
    SYSTEMTIME started;
    GetLocalTime(&started);
    if (started.wSecond >= 45) {
        const int minute = MinuteOfDay();
        WaitUntil([&] { return MinuteOfDay() != minute; }, 20000);
    }
    const int alarm = MinuteOfDay();
    char settings[256];
    std::snprintf(settings, sizeof(settings),
                  "[Wecker]\r\nStunde=%02d\r\nMinute=%02d\r\nAktiv=1\r\nAktivMode=1\r\n"
                  "Sound=Tikkora.wav\r\nMeldung=Aufstehen!\r\n",
                  alarm / 60, alarm % 60);
    ClockProcess clock(settings);
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const RECT alarmLine = PanelOnScreen(window, 56, 17);
    ASSERT_NE(alarmLine.right, 0);
    EXPECT_GT(CountOther(Screenshot(alarmLine), RGB(100, 145, 102)), 20) << "alarm line not shown";

    HWND box = nullptr;
    int stored = alarm;
    ASSERT_TRUE(WaitUntil(
        [&] {
            AlarmAtThisMinute(clock, stored);
            return (box = FindMessageBox(clock.ProcessId())) != nullptr;
        },
        15000))
        << "the alarm did not ring";
    EXPECT_EQ(WindowText(box), "Tikkora");
    EXPECT_EQ(MessageBoxText(box), "Aufstehen!");

    // The clock goes on beneath the message: its seconds change.
    const RECT large = PanelOnScreen(window, 123, 51);
    Screenshot still(large);
    EXPECT_TRUE(WaitForChange(large, still, 2200)) << "the display stood still under the message";
    EXPECT_EQ(clock.Setting("Wecker", "Aktiv"), "1") << "switched off before the message closed";

    PressButton(box, IDOK);
    // Two writes: the second may still be on its way when the first is seen.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return clock.Setting("Wecker", "Aktiv") == "0" &&
                   clock.Setting("Wecker", "AktivMode") == "0";
        },
        5000));
    WaitUntil([&] { return CountOther(Screenshot(alarmLine), RGB(100, 145, 102)) == 0; }, 5000);
    EXPECT_EQ(CountOther(Screenshot(alarmLine), RGB(100, 145, 102)), 0) << "alarm line still shown";
    EXPECT_TRUE(clock.CloseAndWait());
}
