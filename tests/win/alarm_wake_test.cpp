// The alarm's wake timer inside the main window: the timer and power calls
// recorded, the time zone and the clocks the test's.
#include "main_window_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr long long kSecondsFrom1601 = 11644473600LL;

std::string Armed(WORD month, WORD day, WORD hour, WORD minute) {
    const SYSTEMTIME utc{2024, month, 0, day, hour, minute, 0, 0};
    FILETIME file{};
    SystemTimeToFileTime(&utc, &file);
    const ULARGE_INTEGER steps{{file.dwLowDateTime, file.dwHighDateTime}};
    return "arm " + std::to_string(steps.QuadPart / 10000000 - kSecondsFrom1601);
}

class AlarmWakeTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        seams::SetSoundRecorderForTest([](const seams::SoundCall&) {});
        seams::SetRealClockForTest([this] { return real; });
        // A zone of a fixed offset from UTC.
        seams::SetTimeZoneForTest([this](long long utc) {
            ULARGE_INTEGER steps;
            steps.QuadPart = (utc + offsetMinutes * 60 + kSecondsFrom1601) * 10000000;
            const FILETIME file{steps.LowPart, steps.HighPart};
            SYSTEMTIME t{};
            FileTimeToSystemTime(&file, &t);
            return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
        });
        seams::SetPowerHandlerForTest([this](const seams::PowerCall& call) {
            using enum seams::PowerCall::Kind;
            const EXECUTION_STATE awake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;
            calls.push_back(call.kind == ArmTimer ? "arm " + std::to_string(call.dueUtcSeconds) +
                                                        (call.resume ? "" : " without waking")
                            : call.kind == CancelTimer    ? "cancel"
                            : call.state == awake         ? "awake"
                            : call.state == ES_CONTINUOUS ? "let go"
                                                          : "other state");
            return !(refuseWaking && call.resume);
        });
    }
    // One check at the given time; the calls since the last step.
    void Step(const char* what, const std::vector<std::string>& expected, int hour = -1,
              int minute = 0, int second = 0) {
        if (hour >= 0) {
            now.hour = hour, now.minute = minute, now.second = second;
        }
        Probe().Tick();
        Application->ProcessMessages();
        EXPECT_EQ(calls, expected) << what;
        calls.clear();
    }
    void Send(UINT message, WPARAM wParam = 0) {
        SendMessageW(Application->Handle(), message, wParam, 0);
    }

    int offsetMinutes = 60;
    long long real = 0;
    bool refuseWaking = false;
    std::vector<std::string> calls;
};

} // namespace

TEST_F(AlarmWakeTest, ArmedForTheNextAlarmAgainOnEveryChangeAndAwakeWhileItRings) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\n");
    now = {2024, 3, 1, 6, 0, 30};
    Create();
    Step("at the start", {Armed(3, 1, 6, 30)});
    SettingsFile->WriteString("Wecker", "Minute", "45"); // as the dialog's OK stores it
    Step("the dialog's OK", {Armed(3, 1, 6, 45)});
    Step("nothing changed", {});
    folder.Write("Tikkora.ini", "[Wecker]\r\nStunde=08\r\nMinute=15\r\nAktiv=1\r\n");
    Step("another program's change, seen at the minute", {Armed(3, 1, 7, 15)}, 6, 1, 0);
    Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    Step("waking", {Armed(3, 1, 7, 15)});
    offsetMinutes = 120;
    Send(WM_TIMECHANGE);
    Step("a new time zone", {Armed(3, 1, 6, 15)});
    SettingsFile->WriteString("Wecker", "Aufwecken", "0");
    Step("Aufwecken=0", {"cancel"});
    SettingsFile->WriteString("Wecker", "Aufwecken", "1");
    SettingsFile->WriteBool("Wecker", "AktivMode", true);
    SettingsFile->WriteString("Wecker", "Meldung", "Los");
    Step("waking on again", {Armed(3, 1, 6, 15)});
    Step("the one-shot rings", {"awake", Armed(3, 2, 6, 15), "let go"}, 8, 15, 0);
    Step("and is switched off", {"cancel"});
    SettingsFile->WriteBool("Wecker", "Aktiv", true);
    SettingsFile->WriteString("Wecker", "Meldung", "");
    Step("on again, rung today", {Armed(3, 2, 6, 15)});
    now.day = 2;
    Step("rings without a message", {"awake", Armed(3, 3, 6, 15)}, 8, 15, 0);
    real += 59999;
    Step("a minute less a millisecond", {}, 8, 15, 59);
    real += 1;
    Step("a minute after the sound", {"let go"}, 8, 16, 0);
    refuseWaking = true;
    SettingsFile->WriteString("Wecker", "Minute", "20");
    const std::string stored = folder.Read("Tikkora.ini");
    Step("waking refused", {Armed(3, 2, 6, 20)});
    Step("and not asked again", {});
    EXPECT_TRUE(boxes.size() == 1 && folder.Read("Tikkora.ini") == stored);
    form.reset();
    EXPECT_EQ(calls, std::vector<std::string>{"cancel"}) << "at exit";
}
