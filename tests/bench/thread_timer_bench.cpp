// The thread timer's timing, which its tests leave out: the period against the
// interval (the hand-off's share), the sleep under way that an interval change
// does not cut, the tick after a resume whose sleep has run out, and how long
// destroying the timer takes in a sleep and with a tick on its way.
#include "analogclock/thread_timer.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Retrieves messages (and so runs ticks) until done() holds.
template <typename Done> void PumpUntil(Done done) {
    MSG message;
    while (!done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

void PumpFor(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    PumpUntil([&] { return Clock::now() >= end; });
}

} // namespace

int main() {
    std::vector<Clock::time_point> ticks;
    auto timer = std::make_unique<TThrdTimer>();
    timer->OnTimer = [&](TThrdTimer*) { ticks.push_back(Clock::now()); };

    timer->SetInterval(50);
    PumpUntil([&] { return ticks.size() == 41; });
    double longest = 0;
    for (std::size_t i = 2; i < ticks.size(); ++i) {
        longest = std::max(longest, Ms(ticks[i] - ticks[i - 1]));
    }
    std::printf("interval 50 ms: mean period %.1f ms, longest %.1f ms (40 ticks)\n",
                Ms(ticks.back() - ticks[1]) / 39, longest);

    timer->SetInterval(600);
    ticks.clear();
    PumpUntil([&] { return ticks.size() == 1; }); // the first 600 ms sleep has begun
    const auto changed = Clock::now();
    timer->SetInterval(50);
    PumpUntil([&] { return ticks.size() == 3; });
    std::printf(
        "interval 600 -> 50 ms one tick in: next tick after %.0f ms, the one after %.0f ms\n",
        Ms(ticks[1] - changed), Ms(ticks[2] - ticks[1]));

    timer->SetEnabled(false);
    PumpFor(200);
    ticks.clear();
    const auto resumed = Clock::now();
    timer->SetEnabled(true);
    PumpUntil([&] { return ticks.size() == 1; });
    std::printf("resume after the sleep ran out: tick after %.1f ms\n", Ms(ticks[0] - resumed));

    timer->SetInterval(400);
    PumpUntil([&] { return ticks.size() == 2; });
    PumpFor(50);
    auto start = Clock::now();
    timer.reset();
    std::printf("destroy in a 400 ms sleep: %.2f ms\n", Ms(Clock::now() - start));

    timer = std::make_unique<TThrdTimer>();
    timer->SetInterval(20);
    Sleep(400); // the first tick is handed over and waits for this thread
    start = Clock::now();
    timer.reset();
    std::printf("destroy with a tick on its way: %.2f ms\n", Ms(Clock::now() - start));
    return 0;
}
