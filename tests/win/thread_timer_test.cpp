// The thread timer with its real worker thread: ticks are counted and their
// order checked while the test thread runs its message loop. How long its
// sleeps and hand-offs take is printed by tests/bench/thread_timer_bench.
#include "analogclock/thread_timer.h"
#include "pump.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "window_search.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class ThrdTimerTest : public testing::Test {
  protected:
    void SetUp() override {
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            messageBoxes.push_back(call.text);
            return IDOK;
        });
    }
    void TearDown() override { seams::ResetAllForTest(); }

    // Notes the thread of each tick.
    void Count(TThrdTimer& timer) {
        timer.OnTimer = [this, &timer](TThrdTimer* sender) {
            EXPECT_EQ(sender, &timer);
            tickThreads.push_back(GetCurrentThreadId());
        };
    }
    std::size_t Ticks() const { return tickThreads.size(); }
    bool TicksReach(std::size_t count) {
        return PumpUntil([&] { return Ticks() >= count; }, 5000);
    }

    std::vector<DWORD> tickThreads;
    std::vector<std::string> messageBoxes;
};

TEST_F(ThrdTimerTest, DefaultsAndPlatformPriorities) {
    TThrdTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 250);
    EXPECT_EQ(timer.Priority(), TThreadPriority::tpNormal);

    const std::pair<TThreadPriority, int> table[] = {
        {TThreadPriority::tpIdle, -15},       {TThreadPriority::tpLowest, -2},
        {TThreadPriority::tpLower, -1},       {TThreadPriority::tpNormal, 0},
        {TThreadPriority::tpHigher, 1},       {TThreadPriority::tpHighest, 2},
        {TThreadPriority::tpTimeCritical, 15}};
    for (const auto& [priority, platform] : table) {
        EXPECT_EQ(PlatformThreadPriority(priority), platform) << static_cast<int>(priority);
    }
}

TEST_F(ThrdTimerTest, TicksRunOnTheOwningThread) {
    TThrdTimer timer;
    timer.SetInterval(20);
    Count(timer);
    ASSERT_TRUE(TicksReach(3));
    for (DWORD thread : tickThreads) {
        EXPECT_EQ(thread, GetCurrentThreadId());
    }
}

// Interval 0 and Enabled false each stop the ticks until undone.
TEST_F(ThrdTimerTest, IntervalZeroAndDisablingStopTheTicksUntilUndone) {
    TThrdTimer timer;
    timer.SetInterval(20);
    Count(timer);
    ASSERT_TRUE(TicksReach(1));
    timer.SetInterval(0);
    std::size_t stoppedAt = Ticks();
    PumpFor(150);
    EXPECT_EQ(Ticks(), stoppedAt);
    timer.SetInterval(20);
    ASSERT_TRUE(TicksReach(stoppedAt + 1));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    stoppedAt = Ticks();
    PumpFor(150);
    EXPECT_EQ(Ticks(), stoppedAt);
    timer.SetEnabled(true);
    ASSERT_TRUE(TicksReach(stoppedAt + 1));
}

TEST_F(ThrdTimerTest, NoTickWhileAHandlerRunsItsOwnLoop) {
    TThrdTimer timer;
    timer.SetInterval(20);
    int running = 0;
    int overlaps = 0;
    std::size_t ticksInLoop = 0;
    timer.OnTimer = [&](TThrdTimer*) {
        overlaps += running;
        ++running;
        tickThreads.push_back(GetCurrentThreadId());
        if (Ticks() == 1) {
            // As a message box opened by a tick handler would: a nested loop
            // of many intervals. A tick the worker sent meanwhile would be
            // delivered in it, so none there also means none is kept back to
            // be made up afterwards.
            PumpFor(250);
            ticksInLoop = Ticks() - 1;
        }
        --running;
    };
    ASSERT_TRUE(TicksReach(4));
    EXPECT_EQ(ticksInLoop, 0u);
    EXPECT_EQ(overlaps, 0);
}

TEST_F(ThrdTimerTest, TicksKeepComingInsideAModalMessageBox) {
    TThrdTimer timer;
    timer.SetInterval(50);
    int ticksInBox = 0;
    timer.OnTimer = [&](TThrdTimer*) {
        // The dialog box of the message box opened outside any tick.
        HWND box = FindThreadWindow(GetCurrentThreadId(), [](HWND window) {
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            return HasClass(window, L"#32770") && std::wstring(title) == L"Modal test";
        });
        if (box && ++ticksInBox == 3) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    // The platform's own modal loop; closed by the third tick that sees it.
    MessageBoxW(nullptr, L"Ticks inside", L"Modal test", MB_OK);
    EXPECT_EQ(ticksInBox, 3);
}

TEST_F(ThrdTimerTest, UnsetOnTimerKeepsTheWorkerRunning) {
    TThrdTimer timer;
    timer.SetInterval(30);
    PumpFor(100);
    Count(timer);
    EXPECT_TRUE(TicksReach(2));
}

TEST_F(ThrdTimerTest, AFailureIsReportedOnceForARunOfFailingTicksWhichGoOn) {
    TThrdTimer timer;
    timer.SetInterval(20);
    timer.OnTimer = [&](TThrdTimer*) {
        tickThreads.push_back(GetCurrentThreadId());
        if (Ticks() == 2 || Ticks() == 3) {
            throw std::runtime_error("tick failed");
        }
    };
    ASSERT_TRUE(TicksReach(5));
    EXPECT_EQ(messageBoxes, std::vector<std::string>{"tick failed"});
}

TEST_F(ThrdTimerTest, DestroyingDuringASleepLetsNoTickFollow) {
    auto timer = std::make_unique<TThrdTimer>();
    timer->SetInterval(400);
    int calls = 0;
    timer->OnTimer = [&](TThrdTimer*) { ++calls; };
    PumpFor(50); // inside the first sleep of 250 ms
    timer.reset();
    PumpFor(500);
    EXPECT_EQ(calls, 0);
}

TEST_F(ThrdTimerTest, DestroyingWhileATickIsOnItsWayDropsIt) {
    auto timer = std::make_unique<TThrdTimer>();
    timer->SetInterval(20);
    int calls = 0;
    timer->OnTimer = [&](TThrdTimer*) { ++calls; };
    // Wait, without retrieving messages, until the worker's hand-off is
    // waiting for this thread.
    ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_SENDMESSAGE), WAIT_OBJECT_0);
    timer.reset();
    PumpFor(200);
    EXPECT_EQ(calls, 0);
}

TEST_F(ThrdTimerTest, AHandlerMayDestroyItsOwnTimer) {
    auto timer = std::make_unique<TThrdTimer>();
    timer->SetInterval(20);
    int calls = 0;
    timer->OnTimer = [&](TThrdTimer*) {
        ++calls;
        timer.reset();
    };
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }, 5000));
    EXPECT_EQ(timer, nullptr);
    PumpFor(200);
    EXPECT_EQ(calls, 1);
}

} // namespace
