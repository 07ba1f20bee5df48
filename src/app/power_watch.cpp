#include "app/power_watch.h"

LRESULT TPowerWatch::HookMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENDSESSION && wParam && OnSessionEnd) {
        OnSessionEnd(this);
    } else if (message == WM_POWERBROADCAST &&
               (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) && OnResume) {
        OnResume(this);
    } else if (message == WM_TIMECHANGE && OnTimeChange) {
        OnTimeChange(this);
    }
    return CallNext(message, wParam, lParam);
}
