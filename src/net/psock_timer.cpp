#include "net/psock_timer.h"

#include "toolkit/exceptions.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
} // namespace

TThreadTimer::TThreadTimer() {
    CreateWindowHandle({L"TmrWindowClass", 0, false}, L"", WS_POPUP, WS_EX_TOOLWINDOW, {}, nullptr);
}

TThreadTimer::~TThreadTimer() {
    enabled_ = false;
    KillTimer(Handle(), kTimerId);
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
    KillTimer(Handle(), kTimerId);
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (!SetTimer(Handle(), kTimerId, interval_, nullptr)) {
            throw Exception("No Timer");
        }
    }
}

LRESULT TThreadTimer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        if (onTimer_) {
            // A copy: the handler may replace the callback or disable the timer.
            auto onTimer = onTimer_;
            onTimer(this);
        }
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}
