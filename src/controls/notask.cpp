#include "controls/notask.h"

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/wide.h"

#include <string>

namespace {

// Binds the hooked window to its component.
constexpr wchar_t kNoTaskProperty[] = L"TikkoraNoTask";

struct CaptionSearch {
    std::wstring caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<CaptionSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId) {
        return TRUE;
    }
    int length = GetWindowTextLengthW(window);
    if (length != static_cast<int>(search->caption.size())) {
        return TRUE;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    if (text == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

TNoTask::TNoTask(TForm* owner) : owner_(owner) {
    if (owner_) {
        if (!owner_->Handle()) {
            owner_->CreateHandle();
        }
        Hook();
    }
}

TNoTask::~TNoTask() {
    Unhook();
}

void TNoTask::Loaded() {
    ApplyHideForm();
}

void TNoTask::SetHideForm(bool hideForm) {
    hideForm_ = hideForm;
    ApplyHideForm();
}

HWND TNoTask::ApplicationWindow() {
    if (!Application) {
        return nullptr;
    }
    // Only this program's windows: another program's window that happens to
    // carry the same caption (a folder named like the program) is not ours to hide.
    CaptionSearch search{Widen(Application->Title()), GetCurrentProcessId(), nullptr};
    EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TNoTask::ApplyHideForm() {
    if (HWND window = ApplicationWindow()) {
        ShowWindow(window, hideForm_ ? SW_HIDE : SW_RESTORE);
    }
}

void TNoTask::Hook() {
    HWND window = owner_->Handle();
    if (!window) {
        return;
    }
    SetPropW(window, kNoTaskProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProcedure)));
    hooked_ = window;
}

void TNoTask::Unhook() {
    if (hooked_ && IsWindow(hooked_)) {
        if (previous_) {
            SetWindowLongPtrW(hooked_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        }
        RemovePropW(hooked_, kNoTaskProperty);
    }
    hooked_ = nullptr;
    previous_ = nullptr;
}

LRESULT TNoTask::MessageHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW && wParam != 0) {
        ApplyHideForm();
    }
    WNDPROC previous = previous_;
    if (message == WM_NCDESTROY) {
        // The window goes; nothing is left to unhook.
        RemovePropW(window, kNoTaskProperty);
        hooked_ = nullptr;
        previous_ = nullptr;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK TNoTask::HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* component = static_cast<TNoTask*>(GetPropW(window, kNoTaskProperty));
    if (!component || !component->previous_) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return component->MessageHandler(window, message, wParam, lParam);
}
