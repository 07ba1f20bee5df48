#pragma once
// The plain message loop of the baseline and fixture programs, until WM_QUIT.
#include <windows.h>

inline int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
