#include "controls/notask.h"

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/wide.h"

#include <string>

namespace {

struct CaptionSearch {
    std::wstring caption;
    DWORD processId;
    HWND found;
};

BOOL MatchCaption(HWND window, CaptionSearch* search) {
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

BOOL CALLBACK MatchCaptionProc(HWND window, LPARAM search) {
    return Guarded<BOOL>(
        FALSE, [&] { return MatchCaption(window, reinterpret_cast<CaptionSearch*>(search)); });
}

} // namespace

TNoTask::TNoTask(TForm* owner) {
    if (owner) {
        if (!owner->Handle()) {
            owner->CreateHandle();
        }
        Hook(owner->Handle());
    }
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
    EnumWindows(MatchCaptionProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TNoTask::ApplyHideForm() {
    if (HWND window = ApplicationWindow()) {
        ShowWindow(window, hideForm_ ? SW_HIDE : SW_RESTORE);
    }
}

LRESULT TNoTask::HookMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW && wParam != 0) {
        ApplyHideForm();
    }
    return CallNext(message, wParam, lParam);
}
