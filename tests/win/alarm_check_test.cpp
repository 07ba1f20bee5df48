// The alarm check inside the main window, with the time, the sound and the
// message boxes taken over by the test.
#include "app/form1.h"
#include "settings/program_objects.h"
#include "main_window_test.h"
#include "pump.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class AlarmCheckTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        seams::SetSoundRecorderForTest(
            [this](const seams::SoundCall& call) { sounds.push_back(call); });
    }
    void OnMessageBox(const seams::MessageBoxCall&) override {
        settingsWhileOpen = folder.Read("Tikkora.ini");
        if (whileOpen) {
            whileOpen();
        }
    }
    void Create(const std::string& settings) {
        folder.Write("Tikkora.ini", settings);
        now = {2024, 3, 1, 7, 29, 58};
        MainWindowTest::Create();
    }
    void At(int hour, int minute, int second) {
        now.hour = hour;
        now.minute = minute;
        now.second = second;
        Probe().Tick();
        // The boxes open once the tick has returned.
        Application->ProcessMessages();
    }
    bool AlarmLineShown() { return Probe().Glyphs(ClockRow::Small)[0] != -1; }

    std::vector<seams::SoundCall> sounds;
    std::string settingsWhileOpen;
    std::function<void()> whileOpen;
};

const char* kRepeating = "[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\nAktivMode=0\r\n"
                         "Sound=Tikkora.wav\r\nMeldung=  Aufstehen!  \r\n";

LRESULT CALLBACK RefuseWindows(int code, WPARAM w, LPARAM l) {
    return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, w, l);
}

} // namespace

TEST_F(AlarmCheckTest, RepeatingAlarmRingsOnceInItsMinute) {
    Create(kRepeating);
    At(7, 29, 59);
    At(7, 30, 0);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].path, folder.File("Tikkora.wav"));
    EXPECT_EQ(sounds[0].flags, static_cast<UINT>(SND_ASYNC));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Aufstehen!"); // the profile reader drops the blanks
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK));
    // A redraw call in the same second does not ring again.
    Probe().Redraw();
    At(7, 30, 0);
    At(7, 30, 1);
    At(7, 31, 0);
    EXPECT_EQ(sounds.size(), 1u);
    EXPECT_EQ(boxes.size(), 1u);
    // Still on, and the next day it rings again, though its second 00 passed
    // without a tick; once.
    EXPECT_TRUE(AlarmLineShown());
    now.day = 2;
    At(7, 30, 7);
    At(7, 30, 8);
    EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(AlarmCheckTest, TheClocksOwnTickRingsWhenTheTimeReachesSecondZero) {
    Create(kRepeating);
    EXPECT_TRUE(sounds.empty());
    now = {2024, 3, 1, 7, 30, 0};
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 5000)) << "the tick did not ring";
    EXPECT_EQ(sounds.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Aufstehen!");
}

TEST_F(AlarmCheckTest, TheClockGoesOnBeneathTheAlarmMessageAndOpensNoSecondOne) {
    Create(kRepeating);
    bool moved = false;
    whileOpen = [&] {
        // The next day's alarm passes while the message is still open.
        now = {2024, 3, 2, 7, 31, 7};
        moved = PumpUntil(
            [&] {
                return Probe().Glyphs(ClockRow::Large)[7] == GlyphBase + 7 &&
                       Probe().Glyphs(ClockRow::Date)[1] == GlyphBase + 2;
            },
            5000);
    };
    now = {2024, 3, 1, 7, 30, 0};
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 5000)) << "the tick did not ring";
    EXPECT_TRUE(moved) << "the time and date stood still under the message";
    EXPECT_EQ(sounds.size(), 2u);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(AlarmCheckTest, OneShotAlarmSwitchesItselfOffAfterTheMessageIsClosed) {
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\nAktivMode=1\r\nMeldung=Los\r\n");
    EXPECT_TRUE(AlarmLineShown());
    At(7, 30, 0);
    ASSERT_EQ(boxes.size(), 1u);
    // While the message was open, nothing was switched off yet.
    EXPECT_NE(settingsWhileOpen.find("Aktiv=1"), std::string::npos) << settingsWhileOpen;
    std::string after = folder.Read("Tikkora.ini");
    EXPECT_NE(after.find("Aktiv=0"), std::string::npos) << after;
    EXPECT_NE(after.find("AktivMode=0"), std::string::npos) << after;
    EXPECT_FALSE(AlarmLineShown());
    now.day = 2;
    At(7, 30, 1);
    At(7, 30, 0);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(AlarmCheckTest, OneShotAlarmThatIsOffStillClearsItsKeys) {
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=0\r\nAktivMode=1\r\n");
    At(7, 30, 0);
    EXPECT_TRUE(sounds.empty());
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(folder.Read("Tikkora.ini").find("AktivMode=0"), std::string::npos);
}

TEST_F(AlarmCheckTest, BlankMessageShowsNoWindowButTheSoundPlays) {
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\nMeldung=   \r\n");
    At(7, 30, 0);
    EXPECT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AlarmCheckTest, WithoutAnAlarmSectionNothingRingsAsTheLineShowsNoAlarm) {
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\n");
    EXPECT_FALSE(AlarmLineShown());
    At(7, 30, 0);
    form.reset();
    Create("");
    At(0, 0, 0);
    EXPECT_TRUE(sounds.empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AlarmCheckTest, SoundsFromOutsideTheProgramFolderAreNeverPlayed) {
    for (std::string sound :
         {std::string("..\\..\\windows\\x.wav"), std::string("C:\\x.wav"), std::string(300, 'w')}) {
        Create(std::string("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\nSound=") + sound +
               "\r\n");
        sounds.clear();
        At(7, 30, 0);
        ASSERT_EQ(sounds.size(), 1u) << sound;
        EXPECT_EQ(sounds[0].path, "") << "the default sound, not " << sound;
        form.reset();
    }
}

TEST_F(AlarmCheckTest, UnparsableAlarmTimeIsReportedOnceAndTheClockGoesOn) {
    Create("[Wecker]\r\nStunde=99\r\nMinute=-1\r\nAktiv=1\r\n");
    At(7, 30, 0);
    At(7, 31, 0);
    At(7, 32, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("\"99:-1\""), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("Weckzeit"), std::string::npos);
    EXPECT_TRUE(sounds.empty());
    // The time is still drawn.
    EXPECT_TRUE(Probe().Glyphs(ClockRow::Large)[7] != -1);
}

TEST_F(AlarmCheckTest, RefusedWriteOfTheOneShotSwitchIsReportedAndNothingEscapes) {
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\nAktivMode=1\r\n");
    // Another program holds the file open for reading only: reads work, writes are refused.
    HANDLE lock = CreateFileW(Widen(folder.File("Tikkora.ini")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    At(7, 30, 0);
    CloseHandle(lock);
    ASSERT_EQ(sounds.size(), 1u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("nicht gespeichert"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("Unable to write to"), std::string::npos) << boxes[0].text;
    // The clock goes on, and the latch holds for the rest of the minute.
    At(7, 30, 0);
    EXPECT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(Probe().Glyphs(ClockRow::Large)[7] != -1);
}

TEST_F(AlarmCheckTest, AMessageThatCannotBeShownLeavesTheAlarmToRunItsCourse) {
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\nAktivMode=1\r\nMeldung=Los\r\n");
    // The window that posts the box is made when a box is first due: refuse it.
    HHOOK refuse = SetWindowsHookExW(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
    At(7, 30, 0);
    UnhookWindowsHookEx(refuse);
    EXPECT_NE(folder.Read("Tikkora.ini").find("AktivMode=0"), std::string::npos);
}

TEST_F(AlarmCheckTest, AFailureWhileAFailureIsShownOpensNoBoxOnTop) {
    Create("[Wecker]\r\nStunde=99\r\nMinute=-1\r\nAktiv=1\r\n");
    whileOpen = [&] { // another program changes the failure's cause meanwhile
        folder.Write("Tikkora.ini", "[Wecker]\r\nStunde=999\r\nMinute=-1\r\nAktiv=1\r\n");
        At(7, 31, 0);
    };
    At(7, 30, 0);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(AlarmCheckTest, TheWakeTimerFollowsTheAlarmAndTheMachineStaysAwakeWhileItRings) {
    // When it is armed and let go; the moment it is armed for is the rule's, tested natively.
    long long real = 0;
    bool refuseWaking = false;
    std::vector<std::string> calls;
    const std::string arm = "arm", awake = std::to_string(ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
                                                          ES_DISPLAY_REQUIRED);
    const std::string letGo = std::to_string(ES_CONTINUOUS);
    seams::SetRealClockForTest([&] { return real; });
    seams::SetPowerHandlerForTest([&](const seams::PowerCall& call) {
        using enum seams::PowerCall::Kind;
        calls.push_back(call.kind == CancelTimer ? "cancel"
                        : call.kind == ArmTimer  ? (call.resume ? arm : "arm no resume")
                                                 : std::to_string(call.state));
        return !(refuseWaking && call.resume);
    });
    auto step = [&](int hour, int minute, int second, const char* what,
                    const std::vector<std::string>& expected) {
        if (hour >= 0) {
            At(hour, minute, second);
        }
        EXPECT_EQ(calls, expected) << what;
        calls.clear();
    };
    Create("[Wecker]\r\nStunde=07\r\nMinute=30\r\nAktiv=1\r\n");
    step(-1, 0, 0, "at the start", {arm});
    step(7, 29, 58, "nothing changed", {});
    SettingsFile->WriteString("Wecker", "Minute", "45"); // as the dialog's OK stores it
    step(7, 29, 59, "the dialog's OK", {arm});
    folder.Write("Tikkora.ini", "[Wecker]\r\nStunde=08\r\nMinute=15\r\nAktiv=1\r\n");
    step(7, 30, 0, "another program's change, seen at the minute", {arm});
    SendMessageW(Application->Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    step(7, 30, 1, "waking", {arm});
    SendMessageW(Application->Handle(), WM_TIMECHANGE, 0, 0);
    step(7, 30, 2, "a new time or time zone", {arm});
    SettingsFile->WriteString("Wecker", "Aufwecken", "0");
    step(7, 30, 3, "Aufwecken=0", {"cancel"});
    SettingsFile->WriteString("Wecker", "Aufwecken", "1");
    SettingsFile->WriteBool("Wecker", "AktivMode", true);
    SettingsFile->WriteString("Wecker", "Meldung", "Los");
    step(7, 30, 4, "waking on again", {arm});
    step(8, 15, 0, "the one-shot rings, its message closed", {awake, arm, letGo});
    step(8, 15, 1, "and is off", {"cancel"});
    SettingsFile->WriteBool("Wecker", "Aktiv", true);
    SettingsFile->WriteString("Wecker", "Meldung", "");
    step(8, 15, 2, "on again", {arm});
    now.day = 2;
    step(8, 15, 0, "rings without a message", {awake, arm});
    real += 60000;
    step(8, 16, 0, "a minute after the sound", {letGo});
    refuseWaking = true;
    SettingsFile->WriteString("Wecker", "Minute", "20");
    At(8, 16, 1);
    step(8, 16, 2, "waking refused: asked once, nothing told", {arm});
    EXPECT_EQ(boxes.size(), 1u);
    form.reset();
    step(-1, 0, 0, "at exit", {"cancel"});
}
