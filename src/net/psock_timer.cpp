#include "net/psock_timer.h"

#include "toolkit/exceptions.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
} // namespace

TThreadTimer::TThreadTimer() {
    window_.Open();
}

TThreadTimer::~TThreadTimer() {
    enabled_ = false;
    KillTimer(window_.Handle(), kTimerId);
}

void TThreadTimer::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        UpdateTimer();
    }
}

void TThreadTimer::SetInterval(UINT interval) {
    if (interval != interval_) {
        interval_ = interval;
        UpdateTimer();
    }
}

void TThreadTimer::SetOnTimer(std::function<void(TThreadTimer* sender)> onTimer) {
    onTimer_ = std::move(onTimer);
    UpdateTimer();
}

void TThreadTimer::UpdateTimer() {
    KillTimer(window_.Handle(), kTimerId);
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (!SetTimer(window_.Handle(), kTimerId, interval_, nullptr)) {
            throw Exception("No Timer");
        }
    }
}

bool TThreadTimer::Receive(UINT message, WPARAM wParam) {
    if (message != WM_TIMER || wParam != kTimerId) {
        return false;
    }
    if (onTimer_) {
        // A copy: the handler may replace the callback or disable the timer.
        auto onTimer = onTimer_;
        onTimer(this);
    }
    return true;
}
