// The machine sleeps over the alarm: the waking reaches the clock through the
// application's window, whose first check tells of it, with the time, the
// real time and the boxes taken over. The clock set or woken is drawn at once.
#include "analogclock/second_edge_rules.h"
#include "main_window_test.h"
#include "pump.h"
#include "toolkit/precise_clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Power(WPARAM event) {
    SendMessageW(Application->Handle(), WM_POWERBROADCAST, event, 0);
}

class SleepNoticeTest : public MainWindowTest {};

} // namespace

TEST_F(SleepNoticeTest, AlarmSleptThroughIsToldOnceNotRungAndLeftAsStored) {
    std::vector<seams::SoundCall> sounds;
    seams::SetSoundRecorderForTest([&](const seams::SoundCall& call) { sounds.push_back(call); });
    folder.Write("Tikkora.ini", "[Wecker]\r\nStunde=7\r\nMinute=30\r\nAktiv=1\r\nAktivMode=1\r\n"
                                "Meldung= Zug um 8 \r\n");
    now = {2024, 3, 1, 7, 0, 30};
    long long real = 0;
    seams::SetRealClockForTest([&] { return real; });
    Create();
    const std::string stored = folder.Read("Tikkora.ini");

    Power(PBT_APMSUSPEND);
    now = {2024, 3, 1, 8, 15, 30};
    real += 75 * 60 * 1000;
    Power(PBT_APMRESUMEAUTOMATIC);
    Power(PBT_APMRESUMESUSPEND);
    EXPECT_TRUE(boxes.empty()) << "the system's message is answered before the box";
    Application->ProcessMessages();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    const std::string& text = boxes[0].text;
    for (const char* part : {"07:30 Uhr", "Ruhezustand", "Meldung: Zug um 8\n", "einmalige"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
    }
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(folder.Read("Tikkora.ini"), stored);

    // A later waking with no sleep noted before it (a critical sleep tells nobody).
    Power(PBT_APMRESUMEAUTOMATIC);
    Application->ProcessMessages();
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(SleepNoticeTest, ClockSetBackAnHourAndForwardAMinuteIsDrawnAtOnceAndTicksAfterAnEdge) {
    Create();
    std::int64_t tickAt = 0;
    Probe().WhenClockTicks([&] { tickAt = PreciseSystemTime(); });
    now.hour = 11;
    SendMessageW(Application->Handle(), WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{31, 31, 63, 30, 30, 63, 33, 30}));
    now.minute = 1;
    Application->ProcessMessages(); // no tick of the old aim still on its way
    const std::int64_t woken = PreciseSystemTime();
    Power(PBT_APMRESUMEAUTOMATIC);
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{31, 31, 63, 30, 31, 63, 33, 30}));
    tickAt = 0;
    ASSERT_TRUE(PumpUntil([&] { return tickAt != 0; }, 3000));
    EXPECT_GE(tickAt, NextSecondTick(woken) - kTickAfterEdge);
}
