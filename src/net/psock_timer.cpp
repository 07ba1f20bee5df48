#include "net/psock_timer.h"

#include "toolkit/exceptions.h"

TThreadTimer::TThreadTimer() {
    timer_.OnTimer = [this](TTimer*) {
        if (onTimer_) {
            // A copy: the handler may replace the callback or disable the timer.
            auto onTimer = onTimer_;
            onTimer(this);
        }
    };
}

void TThreadTimer::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        UpdateTimer();
    }
}

void TThreadTimer::SetInterval(UINT interval) {
    if (interval != timer_.Interval()) {
        // Set afresh from now, or stopped by an interval of 0.
        timer_.SetInterval(interval);
        CheckRunning();
    }
}

void TThreadTimer::SetOnTimer(std::function<void(TThreadTimer* sender)> onTimer) {
    onTimer_ = std::move(onTimer);
    UpdateTimer();
}

void TThreadTimer::UpdateTimer() {
    timer_.SetEnabled(false);
    timer_.SetEnabled(enabled_ && onTimer_);
    CheckRunning();
}

void TThreadTimer::CheckRunning() const {
    if (timer_.Enabled() && timer_.Interval() != 0 && !timer_.Running()) {
        throw Exception("No Timer");
    }
}
