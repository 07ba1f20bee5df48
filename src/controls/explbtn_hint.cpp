#include "controls/explbtn_hint.h"

#include "toolkit/wide.h"
#include "toolkit/window.h"

#include <commctrl.h>

TToolHint::TToolHint(HWND owner) : owner_(owner) {
    LoadCommonControls();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
}

TToolHint::~TToolHint() {
    // The tooltip is owned by owner_ and went with it when that was destroyed first.
    if (tooltip_ && IsWindow(tooltip_)) {
        DestroyWindow(tooltip_);
    }
}

void TToolHint::Remove(UINT flags, UINT_PTR id) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = flags;
    tool.hwnd = owner_;
    tool.uId = id;
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TToolHint::SetAreaHint(UINT id, const RECT& area, const std::string& text) {
    if (!tooltip_) {
        return;
    }
    Remove(TTF_SUBCLASS, id);
    if (text.empty()) {
        return;
    }
    std::wstring wide = Widen(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = id;
    tool.rect = area;
    tool.lpszText = wide.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TToolHint::SetWindowHint(const std::string& text) {
    if (!tooltip_) {
        return;
    }
    const UINT flags = TTF_SUBCLASS | TTF_IDISHWND;
    Remove(flags, reinterpret_cast<UINT_PTR>(owner_));
    if (text.empty()) {
        return;
    }
    std::wstring wide = Widen(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = flags;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(owner_);
    tool.lpszText = wide.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TToolHint::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) {
        return;
    }
    MSG relayed{owner_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    const DWORD position = GetMessagePos();
    relayed.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}
