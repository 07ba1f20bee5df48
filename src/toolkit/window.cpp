#include "toolkit/window.h"

#include "toolkit/gdi.h"

#include <commctrl.h>

namespace {
constexpr wchar_t kObjectProperty[] = L"TikkoraWindow";
constexpr UINT_PTR kObjectSubclass = 1;

std::function<void(const std::exception_ptr&)>& ExceptionReport() {
    static std::function<void(const std::exception_ptr&)> report;
    return report;
}
} // namespace

void SetExceptionReport(std::function<void(const std::exception_ptr&)> report) {
    ExceptionReport() = std::move(report);
}

void ReportCurrentException() noexcept {
    try {
        if (ExceptionReport()) {
            ExceptionReport()(std::current_exception());
        }
    } catch (...) {
        // The report itself failed (no memory for the text): nothing is left to tell.
    }
}

void LoadCommonControls() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)loaded;
}

TWindow::~TWindow() {
    DestroyHandle();
}

TWindow* TWindow::FromHandle(HWND window) {
    return window ? static_cast<TWindow*>(GetPropW(window, kObjectProperty)) : nullptr;
}

Scale TWindow::ScaleOf(HWND window) {
    const TWindow* root = window ? FromHandle(GetAncestor(window, GA_ROOT)) : nullptr;
    return root ? root->LayoutScale() : Scale();
}

bool TWindow::CreateWindowHandle(const WindowClassDesign& windowClass, const std::wstring& caption,
                                 DWORD style, DWORD exStyle, const WindowPlacement& place,
                                 HWND parent, int id) {
    RegisterWindowClassOnce(windowClass, WindowProc);
    CreateWindowExW(exStyle, windowClass.name, caption.c_str(), style, place.left, place.top,
                    place.width, place.height, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                    this);
    return handle_ != nullptr;
}

bool TWindow::CreateSubclassed(const wchar_t* className, const std::wstring& text, DWORD style,
                               DWORD exStyle, const WindowPlacement& place, HWND parent, int id) {
    LoadCommonControls();
    HWND window =
        CreateWindowExW(exStyle, className, text.c_str(), style, place.left, place.top, place.width,
                        place.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        return false;
    }
    if (!SetWindowSubclass(window, SubclassProc, kObjectSubclass,
                           reinterpret_cast<DWORD_PTR>(this))) {
        DestroyWindow(window);
        return false;
    }
    subclassed_ = true;
    Bind(window);
    return true;
}

void TWindow::DestroyHandle() {
    if (handle_) {
        DestroyWindow(handle_);
    }
    // A window of another thread cannot be destroyed from here; forget it all the same.
    if (handle_) {
        Unbind();
    }
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (PaintsClient()) {
        if (message == WM_PAINT) {
            PaintDc paint(handle_);
            PaintClient(paint.get(), paint.area());
            return 0;
        }
        if (message == WM_PRINTCLIENT) {
            RECT client;
            GetClientRect(handle_, &client);
            PaintClient(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TWindow::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return subclassed_ ? DefSubclassProc(handle_, message, wParam, lParam)
                       : DefWindowProcW(handle_, message, wParam, lParam);
}

void TWindow::Bind(HWND window) {
    handle_ = window;
    SetPropW(window, kObjectProperty, this);
}

void TWindow::Unbind() {
    RemovePropW(handle_, kObjectProperty);
    if (subclassed_) {
        RemoveWindowSubclass(handle_, SubclassProc, kObjectSubclass);
        subclassed_ = false;
    } else {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    }
    handle_ = nullptr;
}

LRESULT TWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        while (hooks_) {
            hooks_->Unhook();
        }
        HWND window = handle_;
        const bool subclassed = subclassed_;
        Unbind();
        return subclassed ? DefSubclassProc(window, message, wParam, lParam)
                          : DefWindowProcW(window, message, wParam, lParam);
    }
    return hooks_ ? hooks_->Run(message, wParam, lParam) : HandleGuarded(message, wParam, lParam);
}

LRESULT TWindow::HandleGuarded(UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded<LRESULT>(0, [&] { return HandleMessage(message, wParam, lParam); });
}

LRESULT CALLBACK TWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object =
            static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (object) {
            object->Bind(window);
            // A window of this program's own classes also carries its object
            // in the user slot: read at every message, where the property
            // would cost a round with the window system each time.
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        }
    }
    auto* object = reinterpret_cast<TWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return object ? object->Dispatch(message, wParam, lParam)
                  : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR object) {
    auto* bound = reinterpret_cast<TWindow*>(object);
    return bound && bound->handle_ == window ? bound->Dispatch(message, wParam, lParam)
                                             : DefSubclassProc(window, message, wParam, lParam);
}

TWindowHook::~TWindowHook() {
    Unhook();
}

void TWindowHook::Hook(HWND window) {
    Unhook();
    if (TWindow* object = TWindow::FromHandle(window)) {
        object_ = object;
        next_ = object->hooks_;
        object->hooks_ = this;
        hooked_ = window;
    } else if (window && SetWindowSubclass(window, HookProc, reinterpret_cast<UINT_PTR>(this),
                                           reinterpret_cast<DWORD_PTR>(this))) {
        hooked_ = window;
    }
}

void TWindowHook::Unhook() {
    if (object_) {
        TWindowHook** link = &object_->hooks_;
        while (*link && *link != this) {
            link = &(*link)->next_;
        }
        if (*link) {
            *link = next_;
        }
        object_ = nullptr;
        next_ = nullptr;
    } else if (hooked_) {
        RemoveWindowSubclass(hooked_, HookProc, reinterpret_cast<UINT_PTR>(this));
    }
    hooked_ = nullptr;
}

LRESULT TWindowHook::CallNext(UINT message, WPARAM wParam, LPARAM lParam) {
    if (object_) {
        return next_ ? next_->Run(message, wParam, lParam)
                     : object_->HandleGuarded(message, wParam, lParam);
    }
    return DefSubclassProc(hooked_, message, wParam, lParam);
}

LRESULT TWindowHook::Run(UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded<LRESULT>(0, [&] { return HookMessage(message, wParam, lParam); });
}

LRESULT CALLBACK TWindowHook::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR object) {
    auto* hook = reinterpret_cast<TWindowHook*>(object);
    if (message == WM_NCDESTROY) {
        hook->Unhook();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return hook->Run(message, wParam, lParam);
}
