// The thread timer with its real worker thread: ticks are counted and timed
// while the test thread runs its message loop.
#include "analogclock/thread_timer.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// Runs the message loop until done() or the time is up; true when done.
template <typename Done> bool PumpUntil(Done done, int timeoutMs) {
    const auto end = Clock::now() + milliseconds(timeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (done()) {
            return true;
        }
        const auto now = Clock::now();
        if (now >= end) {
            return false;
        }
        auto left = std::chrono::duration_cast<milliseconds>(end - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

class ThrdTimerTest : public testing::Test {
  protected:
    void SetUp() override {
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            messageBoxes.push_back(call.text);
            return IDOK;
        });
        PumpFor(10);
    }
    void TearDown() override { seams::ResetAllForTest(); }

    // Counts ticks and notes when each began.
    void Count(TThrdTimer& timer) {
        timer.OnTimer = [this, &timer](TThrdTimer* sender) {
            EXPECT_EQ(sender, &timer);
            tickTimes.push_back(Clock::now());
            tickThreads.push_back(GetCurrentThreadId());
        };
    }

    std::vector<Clock::time_point> tickTimes;
    std::vector<DWORD> tickThreads;
    std::vector<std::string> messageBoxes;
};

TEST_F(ThrdTimerTest, DefaultsAndPlatformPriorities) {
    TThrdTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 250);
    EXPECT_EQ(timer.Priority(), TThreadPriority::tpNormal);
    EXPECT_FALSE(timer.Ended());

    const std::pair<TThreadPriority, int> table[] = {
        {TThreadPriority::tpIdle, -15},       {TThreadPriority::tpLowest, -2},
        {TThreadPriority::tpLower, -1},       {TThreadPriority::tpNormal, 0},
        {TThreadPriority::tpHigher, 1},       {TThreadPriority::tpHighest, 2},
        {TThreadPriority::tpTimeCritical, 15}};
    for (const auto& [priority, platform] : table) {
        EXPECT_EQ(PlatformThreadPriority(priority), platform) << static_cast<int>(priority);
    }
}

TEST_F(ThrdTimerTest, TicksRunOnTheOwningThreadAtTheInterval) {
    TThrdTimer timer;
    timer.SetInterval(50);
    Count(timer);
    PumpFor(1000);
    // One period is the interval plus the hand-off; the machine is shared.
    EXPECT_GE(tickTimes.size(), 8u);
    EXPECT_LE(tickTimes.size(), 21u);
    for (DWORD thread : tickThreads) {
        EXPECT_EQ(thread, GetCurrentThreadId());
    }
}

TEST_F(ThrdTimerTest, IntervalChangeLetsTheCurrentSleepRunItsLength) {
    TThrdTimer timer;
    timer.SetInterval(600);
    Count(timer);
    // The first sleep (250) ends; the second one is 600 long.
    ASSERT_TRUE(PumpUntil([&] { return tickTimes.size() == 1; }, 2000));
    PumpFor(100);
    timer.SetInterval(50);
    ASSERT_TRUE(PumpUntil([&] { return tickTimes.size() >= 4; }, 3000));
    auto gap = [&](std::size_t i) {
        return std::chrono::duration_cast<milliseconds>(tickTimes[i] - tickTimes[i - 1]).count();
    };
    EXPECT_GE(gap(1), 550);
    EXPECT_LT(gap(2), 400);
    EXPECT_LT(gap(3), 400);
}

TEST_F(ThrdTimerTest, IntervalZeroStopsTheTicksUntilSetAgain) {
    TThrdTimer timer;
    timer.SetInterval(40);
    Count(timer);
    ASSERT_TRUE(PumpUntil([&] { return !tickTimes.empty(); }, 2000));
    timer.SetInterval(0);
    const std::size_t stoppedAt = tickTimes.size();
    PumpFor(500);
    EXPECT_EQ(tickTimes.size(), stoppedAt);
    timer.SetInterval(40);
    const auto resumed = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return tickTimes.size() > stoppedAt; }, 2000));
    EXPECT_LE(std::chrono::duration_cast<milliseconds>(tickTimes[stoppedAt] - resumed).count(),
              200);
}

TEST_F(ThrdTimerTest, DisabledGivesNoTicksAndResumesWithinAnInterval) {
    TThrdTimer timer;
    timer.SetInterval(100);
    Count(timer);
    ASSERT_TRUE(PumpUntil([&] { return !tickTimes.empty(); }, 2000));
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    const std::size_t stoppedAt = tickTimes.size();
    PumpFor(600);
    EXPECT_EQ(tickTimes.size(), stoppedAt);
    timer.SetEnabled(true);
    const auto resumed = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return tickTimes.size() > stoppedAt; }, 2000));
    // The sleep under way has long run out: the tick follows the resume at once.
    EXPECT_LE(std::chrono::duration_cast<milliseconds>(tickTimes[stoppedAt] - resumed).count(),
              150);
}

TEST_F(ThrdTimerTest, NoTicksWhileAHandlerRunsItsOwnLoopAndNoBurstAfterwards) {
    TThrdTimer timer;
    timer.SetInterval(100);
    int running = 0;
    int overlaps = 0;
    Clock::time_point longTickEnded;
    timer.OnTimer = [&](TThrdTimer*) {
        if (running > 0) {
            ++overlaps;
        }
        ++running;
        tickTimes.push_back(Clock::now());
        if (tickTimes.size() == 1) {
            // As a message box opened by a tick handler would: a nested loop
            // for two seconds.
            PumpFor(2000);
            longTickEnded = Clock::now();
        }
        --running;
    };
    ASSERT_TRUE(PumpUntil([&] { return tickTimes.size() >= 1 && running == 0; }, 3000));
    ASSERT_EQ(tickTimes.size(), 1u) << "a tick arrived inside the handler's loop";
    PumpFor(1000);
    EXPECT_EQ(overlaps, 0);
    ASSERT_GE(tickTimes.size(), 3u);
    // The next tick comes an interval after the long one returned, and the
    // following ones at the normal rate: at most 11 in that second.
    EXPECT_GE(std::chrono::duration_cast<milliseconds>(tickTimes[1] - longTickEnded).count(), 80);
    EXPECT_LE(tickTimes.size(), 12u);
    for (std::size_t i = 2; i < tickTimes.size(); ++i) {
        EXPECT_GE(std::chrono::duration_cast<milliseconds>(tickTimes[i] - tickTimes[i - 1]).count(),
                  80)
            << i;
    }
}

// The dialog box of a message box opened outside any tick.
BOOL CALLBACK FindMessageBox(HWND window, LPARAM result) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (std::wstring(className) == L"#32770" && std::wstring(title) == L"Modal test") {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(ThrdTimerTest, TicksKeepComingInsideAModalMessageBox) {
    TThrdTimer timer;
    timer.SetInterval(50);
    int ticksInBox = 0;
    timer.OnTimer = [&](TThrdTimer*) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&box));
        if (box && ++ticksInBox == 3) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    const auto start = Clock::now();
    // The platform's own modal loop; closed by the third tick that sees it.
    MessageBoxW(nullptr, L"Ticks inside", L"Modal test", MB_OK);
    EXPECT_EQ(ticksInBox, 3);
    EXPECT_LT(MillisecondsSince(start), 5000);
}

TEST_F(ThrdTimerTest, UnsetOnTimerKeepsTheWorkerRunning) {
    TThrdTimer timer;
    timer.SetInterval(30);
    PumpFor(300);
    Count(timer);
    EXPECT_TRUE(PumpUntil([&] { return tickTimes.size() >= 2; }, 2000));
}

TEST_F(ThrdTimerTest, AFailingHandlerEndsTheTicksForGoodAndShowsNothing) {
    TThrdTimer timer;
    timer.SetInterval(30);
    int calls = 0;
    timer.OnTimer = [&](TThrdTimer*) {
        ++calls;
        throw std::runtime_error("tick failed");
    };
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }, 2000));
    PumpFor(300);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    timer.SetInterval(20);
    PumpFor(300);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(timer.Ended());
    ASSERT_TRUE(timer.Failure());
    try {
        std::rethrow_exception(timer.Failure());
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "tick failed");
    }
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(ThrdTimerTest, DestroyingDuringASleepDoesNotWaitAndNoTickFollows) {
    auto timer = std::make_unique<TThrdTimer>();
    timer->SetInterval(400);
    int calls = 0;
    timer->OnTimer = [&](TThrdTimer*) { ++calls; };
    PumpFor(50); // inside the first sleep of 250 ms
    const auto start = Clock::now();
    timer.reset();
    EXPECT_LT(MillisecondsSince(start), 100);
    PumpFor(700);
    EXPECT_EQ(calls, 0);
}

TEST_F(ThrdTimerTest, DestroyingWhileATickIsOnItsWayDropsIt) {
    auto timer = std::make_unique<TThrdTimer>();
    timer->SetInterval(20);
    int calls = 0;
    timer->OnTimer = [&](TThrdTimer*) { ++calls; };
    // Let the first sleep run out without retrieving messages: the worker's
    // hand-off is then waiting for this thread.
    Sleep(400);
    const auto start = Clock::now();
    timer.reset();
    EXPECT_LT(MillisecondsSince(start), 100);
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
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }, 2000));
    EXPECT_EQ(timer, nullptr);
    PumpFor(200);
    EXPECT_EQ(calls, 1);
}

} // namespace
