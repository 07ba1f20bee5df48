#include "toolkit/timer.h"
#include "toolkit/window_class.h"

#include "toolkit/application.h"

namespace {
constexpr wchar_t kTimerClass[] = L"TTimerWindow";
constexpr UINT_PTR kTimerId = 1;
} // namespace

TTimer::TTimer(UINT interval, bool enabled) : interval_(interval), enabled_(enabled) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClassOnce({kTimerClass, WindowProc, 0, false});
    window_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                              nullptr);
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    Update();
}

TTimer::~TTimer() {
    if (window_) {
        if (running_) {
            KillTimer(window_, kTimerId);
        }
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
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
    if (!window_) {
        return;
    }
    if (running_) {
        KillTimer(window_, kTimerId);
        running_ = false;
    }
    if (enabled_ && interval_ > 0) {
        // Setting it afresh also restarts a changed interval from now.
        running_ = SetTimer(window_, kTimerId, interval_, nullptr) != 0;
    }
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (timer && timer->running_ && timer->OnTimer) {
            try {
                timer->OnTimer(timer);
            } catch (...) {
                if (Application) {
                    Application->HandleException(std::current_exception());
                }
            }
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
