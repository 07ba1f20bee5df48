#include "app/power_watch.h"

#include <utility>

namespace {
constexpr UINT kLaterMessage = WM_APP + 0x50;
} // namespace

void TPowerWatch::Later(std::function<void()> action) {
    later_ = std::move(action);
    PostMessageW(Hooked(), kLaterMessage, 0, 0);
}

LRESULT TPowerWatch::HookMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kLaterMessage) {
        if (std::function<void()> action = std::exchange(later_, nullptr)) {
            action();
        }
        return 0;
    }
    if (message == WM_ENDSESSION && wParam && OnSessionEnd) {
        OnSessionEnd(this);
    }
    if (message == WM_POWERBROADCAST) {
        if (wParam == PBT_APMSUSPEND && OnSuspend) {
            OnSuspend(this);
        } else if ((wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) &&
                   OnResume) {
            OnResume(this);
        }
    }
    return CallNext(message, wParam, lParam);
}
