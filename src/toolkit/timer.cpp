#include "toolkit/timer.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
} // namespace

TTimer::TTimer(UINT interval, bool enabled) : interval_(interval), enabled_(enabled) {
    Update();
}

TTimer::~TTimer() {
    if (running_) {
        KillTimer(window_.Handle(), kTimerId);
    }
}

void TTimer::SetInterval(UINT interval) {
    if (interval != interval_) {
        interval_ = interval;
        Update();
    }
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        Update();
    }
}

void TTimer::Update() {
    if (running_) {
        KillTimer(window_.Handle(), kTimerId);
        running_ = false;
    }
    if (enabled_ && interval_ > 0) {
        // Made when the timer first runs: one that stays off costs no window.
        if (!window_.Open()) {
            return;
        }
        // Setting it afresh also restarts a changed interval from now.
        running_ = SetTimer(window_.Handle(), kTimerId, interval_, nullptr) != 0;
    }
}

bool TTimer::Receive(UINT message, WPARAM wParam) {
    if (message != WM_TIMER || wParam != kTimerId) {
        return false;
    }
    if (running_ && OnTimer) {
        OnTimer(this);
    }
    return true;
}
