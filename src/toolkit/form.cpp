#include "toolkit/form.h"
#include "toolkit/window_class.h"

#include "toolkit/controls.h"
#include "toolkit/dpi.h"
#include "toolkit/exceptions.h"
#include "toolkit/gdi.h"
#include "toolkit/wide.h"

#include <vector>

namespace {

struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK RescaleControl(HWND window, LPARAM factor) {
    return Guarded<BOOL>(FALSE, [&] {
        if (TWinControl* control = TWinControl::FromHandle(window)) {
            control->SetLayoutScale(Scale(static_cast<int>(factor)));
        }
        return TRUE;
    });
}

BOOL CALLBACK DisableOther(HWND window, LPARAM context) {
    return Guarded<BOOL>(FALSE, [&] {
        auto* disabled = reinterpret_cast<DisabledWindows*>(context);
        if (window != disabled->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            disabled->windows.push_back(window);
        }
        return TRUE;
    });
}

} // namespace

void TFormHost::HandleMessage() {
    MSG message;
    if (!ProcessMessage(message)) {
        WaitMessage();
    }
}

void TFormHost::Terminate(int exitCode) {
    if (!terminated_) {
        PostQuitMessage(exitCode);
    }
}

bool TFormHost::ProcessMessage(MSG& message) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (message.message == WM_QUIT) {
        terminated_ = true;
        exitCode_ = static_cast<int>(message.wParam);
        return true;
    }
    if (!PreviewMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

// Key preview: a form that asks for it sees key presses before its focused control.
bool TFormHost::PreviewMessage(MSG& message) {
    if (!message.hwnd) {
        return false;
    }
    TForm* form = TForm::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
    if (!form) {
        return false;
    }
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && form->KeyPreview) {
        if (Guarded(true, [&] { return form->PreviewKeyDown(message.wParam); })) {
            return true;
        }
    }
    return form->IsDialog() && IsDialogMessageW(form->Handle(), &message);
}

TForm::TForm(TFormHost& host, FormDesign design) : design_(std::move(design)), host_(host) {
    KeyPreview = design_.keyPreview;
}

TForm* TForm::FromHandle(HWND window) {
    return dynamic_cast<TForm*>(TWindow::FromHandle(window));
}

void TForm::CreateParams(CreateParamsInfo& params) {
    params.className = design_.className;
    params.caption = Widen(design_.caption);
    params.style = WS_CLIPCHILDREN;
    if (design_.borderStyle == TBorderStyle::Dialog) {
        params.style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        params.exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    } else {
        params.style |= WS_POPUP;
    }
    if (design_.stayOnTop) {
        params.exStyle |= WS_EX_TOPMOST;
    }
    RECT frame{0, 0, scale_(design_.clientWidth), scale_(design_.clientHeight)};
    AdjustWindowRectEx(&frame, params.style, FALSE, params.exStyle);
    params.x = design_.left;
    params.y = design_.top;
    params.width = frame.right - frame.left;
    params.height = frame.bottom - frame.top;
    params.parent = host_.formOwner_;
}

void TForm::CreateHandle() {
    CreateParamsInfo params;
    scale_ = Scale();
    CreateParams(params);
    if (design_.scalesWithDpi) {
        // The factor is that of the monitor under the middle of where the
        // form goes; the layout is then worked out again at that factor.
        const POINT middle{params.x + params.width / 2, params.y + params.height / 2};
        scale_ = Scale::ForDpi(DpiAtPoint(middle));
        if (scale_ != Scale()) {
            params = CreateParamsInfo{};
            CreateParams(params);
        }
    }
    // The outer size was worked out for the design's styles; keep the client
    // area when CreateParams changed them.
    RECT frame{0, 0, scale_(design_.clientWidth), scale_(design_.clientHeight)};
    AdjustWindowRectEx(&frame, params.style, FALSE, params.exStyle);
    params.width = frame.right - frame.left;
    params.height = frame.bottom - frame.top;

    const WindowClassDesign windowClass{params.className.c_str(), CS_DBLCLKS, true, true,
                                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    if (!CreateWindowHandle(windowClass, params.caption, params.style, params.exStyle,
                            {params.x, params.y, params.width, params.height}, params.parent)) {
        throw ECreationError(WindowCreationFailure(Narrow(params.className), ""));
    }
    try {
        CreateComponents();
    } catch (...) {
        // A form without all its parts would fail at its first command: it
        // goes again, and whoever wanted it learns what was missing.
        const std::string reason = CurrentExceptionText();
        DestroyHandle();
        throw ECreationError(WindowCreationFailure(Narrow(params.className), reason));
    }
    try {
        FormCreate();
    } catch (...) {
        // The rest of the creation sequence is skipped; the window keeps what
        // was applied until then.
        ReportCurrentException();
    }
}

void TForm::Show() {
    if (!Handle()) {
        CreateHandle();
    }
    if (Handle()) {
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        UpdateWindow(Handle());
    }
}

void TForm::Hide() {
    if (Handle()) {
        ShowWindow(Handle(), SW_HIDE);
    }
}

bool TForm::Visible() const {
    return Handle() && IsWindowVisible(Handle());
}

void TForm::Close() {
    if (Handle()) {
        SendMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

int TForm::ShowModal() {
    if (!Handle()) {
        CreateHandle();
    }
    DisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&disabled));
    modalResult_ = 0;
    inModalLoop_ = true;
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    while (modalResult_ == 0 && !host_.Terminated()) {
        host_.HandleMessage();
    }
    inModalLoop_ = false;
    // Enable the others before hiding, so the activation falls back to them.
    for (HWND window : disabled.windows) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
    Hide();
    if (host_.Terminated()) {
        PostQuitMessage(host_.ExitCode());
    }
    return modalResult_;
}

RECT TForm::BoundsRect() const {
    RECT bounds{};
    if (Handle()) {
        GetWindowRect(Handle(), &bounds);
        HWND parent = GetParent(Handle());
        if (parent && (GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD)) {
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&bounds), 2);
        }
    }
    return bounds;
}

int TForm::Width() const {
    RECT bounds = BoundsRect();
    return bounds.right - bounds.left;
}

int TForm::Height() const {
    RECT bounds = BoundsRect();
    return bounds.bottom - bounds.top;
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (AlreadyPlaced(BoundsRect(), {left, top, width, height})) {
        return;
    }
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetPosition(int left, int top) {
    // Left alone where it is already, as in SetBounds.
    const RECT bounds = BoundsRect();
    if (bounds.left == left && bounds.top == top) {
        return;
    }
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TForm::FollowDpi(int dpi, const RECT& suggested) {
    const Scale scale = Scale::ForDpi(dpi);
    if (scale != scale_) {
        scale_ = scale;
        EnumChildWindows(Handle(), RescaleControl, scale.Factor());
        ScaleFactorChanged();
    }
    // The frame may change its thickness with the monitor: the client area
    // is measured again after the first move.
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer{};
        RECT client{};
        GetWindowRect(Handle(), &outer);
        GetClientRect(Handle(), &client);
        const int width = outer.right - outer.left - client.right + scale_(design_.clientWidth);
        const int height = outer.bottom - outer.top - client.bottom + scale_(design_.clientHeight);
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TForm::PreviewKeyDown(WPARAM key) {
    WORD code = static_cast<WORD>(key);
    FormKeyDown(code);
    return code == 0;
}

void TForm::HandleClose() {
    if (inModalLoop_) {
        FormClose();
        if (modalResult_ == 0) {
            modalResult_ = IDCANCEL;
        }
        return;
    }
    FormClose();
    if (host_.MainForm() == this) {
        host_.Terminate();
    }
    Hide();
}

HWND TForm::NextField(bool previous) const {
    HWND focus = GetFocus();
    // After a frame that holds fields (a group box reached by its letter)
    // comes its own first field.
    if (focus && !previous && (GetWindowLongW(focus, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
        if (HWND first = GetNextDlgTabItem(focus, nullptr, FALSE)) {
            return first;
        }
    }
    return GetNextDlgTabItem(Handle(), focus, previous);
}

void TForm::MoveFocus(HWND target) {
    if (!target) {
        return;
    }
    SetFocus(target);
    if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageW(target, EM_SETSEL, 0, -1);
    }
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY: {
        // A child control's notification raises that control's event.
        LRESULT result = 0;
        if (TWinControl::ReflectNotification(message, wParam, lParam, result)) {
            return result;
        }
        // Enter and Escape from the dialog keys name no button.
        TButton* pressed = message != WM_COMMAND        ? nullptr
                           : LOWORD(wParam) == IDOK     ? DefaultButton
                           : LOWORD(wParam) == IDCANCEL ? CancelButton
                                                        : nullptr;
        if (pressed) {
            pressed->Click();
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        HandleClose();
        return 0;
    case WM_DPICHANGED:
        if (design_.scalesWithDpi) {
            FollowDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // A control that holds the mouse lets go of it: the clicks belong
            // to whatever the user turned to.
            HWND holder = GetCapture();
            if (holder && IsChild(Handle(), holder)) {
                SendMessageW(holder, WM_CANCELMODE, 0, 0);
            }
        }
        break;
    case WM_SHOWWINDOW:
        if (wParam) {
            FormShow();
        }
        break;
    case WM_KEYDOWN:
        if (!KeyPreview) {
            WORD code = static_cast<WORD>(wParam);
            FormKeyDown(code);
        }
        break;
    case WM_NEXTDLGCTL:
        // The dialog keys move the focus with this (Alt and a label's
        // letter); only a dialog's own procedure would handle it otherwise.
        if (IsDialog()) {
            MoveFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : NextField(wParam != 0));
            return 0;
        }
        break;
    default:
        break;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}
