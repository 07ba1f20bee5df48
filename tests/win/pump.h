#pragma once
// The message loop of a Windows test that waits for an event.
#include "toolkit/application.h"

#include <windows.h>

#include <chrono>

// Runs the message loop until done() or the time is up; true when done. The
// time is only a bound for an event that does not come at all.
template <typename Done> bool PumpUntil(Done done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (done()) {
            return true;
        }
        const auto now = Clock::now();
        if (now >= end) {
            return false;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

// Runs the message loop for a while, for a test that shows something does not happen.
inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}
