#include "toolkit/message_window.h"

bool TMessageWindow::Open() {
    return Handle() ||
           CreateWindowHandle({L"TikkoraMessageWindow", 0, false}, L"", 0, 0, {}, HWND_MESSAGE);
}

LRESULT TMessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return receiver_ && receiver_(message, wParam, lParam)
               ? 0
               : DefaultHandler(message, wParam, lParam);
}
