#pragma once
// The one way a window of this program is tied to its object. A TWindow is
// bound to its window when the window is made (or, for a window of a system
// class, when it is subclassed) and unbound when the window is destroyed, so
// Handle() is never a dead window. Every message, hook and system callback
// reaches the program's code through Guarded, the single exception boundary:
// an exception becomes the application's standard error report and the
// program goes on.
#include "toolkit/scale_rules.h"
#include "toolkit/window_class.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

// Where a failure that reaches the exception boundary is shown: the
// application installs its error report here while it lives (null removes
// it; without one the failure is dropped and the program goes on).
void SetExceptionReport(std::function<void(const std::exception_ptr&)> report);
// Shows the exception being handled in the installed error report.
void ReportCurrentException() noexcept;

// Registers the common controls the toolkit makes, once, before the first of
// them: the library is bound only when a window needs one, so a clock that
// never opens a dialog does not pay for it at start.
void LoadCommonControls();

// Runs a callback the system calls into; a failure is reported and fallback returned.
template <typename Result, typename Function>
Result Guarded(Result fallback, Function&& function) noexcept {
    try {
        return function();
    } catch (...) {
        ReportCurrentException();
        return fallback;
    }
}

class TWindowHook;

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Whether a window's bounds are already the placement asked for: a window
// system moves and repaints a window even when nothing changes.
inline bool AlreadyPlaced(const RECT& bounds, const WindowPlacement& place) {
    return bounds.left == place.left && bounds.top == place.top &&
           bounds.right - bounds.left == place.width && bounds.bottom - bounds.top == place.height;
}

class TWindow {
  public:
    TWindow() = default;
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const { return handle_; }
    // The object bound to window; null for windows of other programs and parts.
    static TWindow* FromHandle(HWND window);
    // What the window's 96-DPI layout is drawn larger by; 1 for a window that
    // does not scale.
    virtual Scale LayoutScale() const { return Scale(); }
    // That of the top-level window a window belongs to; 1 outside the program's windows.
    static Scale ScaleOf(HWND window);

  protected:
    // Makes a window of one of this program's classes, bound to this object
    // before its first message. False when the system refused it.
    bool CreateWindowHandle(const WindowClassDesign& windowClass, const std::wstring& caption,
                            DWORD style, DWORD exStyle, const WindowPlacement& place, HWND parent,
                            int id = 0);
    // Makes a window of a system class ("BUTTON", "COMBOBOX", ...) and routes
    // its messages through this object; false when the system refused it.
    bool CreateSubclassed(const wchar_t* className, const std::wstring& text, DWORD style,
                          DWORD exStyle, const WindowPlacement& place, HWND parent, int id);
    void DestroyHandle();

    // Paints and prints go to PaintClient for a window that draws its client
    // area itself; everything else goes to the class's own handling.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A window that draws its client area itself says so here. Its one paint
    // function then serves both WM_PAINT (area is what needs painting) and
    // WM_PRINTCLIENT (area is the whole client area), so the window prints
    // exactly as it shows; the others leave both messages to their class.
    virtual bool PaintsClient() const { return false; }
    virtual void PaintClient(HDC /*dc*/, const RECT& /*area*/) {}
    // The class's own handling (DefWindowProc, or the system control's procedure).
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    friend class TWindowHook;
    void Bind(HWND window);
    void Unbind();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleGuarded(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR object);

    HWND handle_ = nullptr;
    bool subclassed_ = false;
    // The hooks on this object's window, the newest first.
    TWindowHook* hooks_ = nullptr;
};

// Sees the messages of a window that belongs to someone else (another
// object's window, or the edit inside a combo box) before its owner does.
// On a window of this program the hook is kept by the window's object; only
// a window of another part (the edit inside a combo box) is subclassed.
class TWindowHook {
  public:
    TWindowHook() = default;
    virtual ~TWindowHook();
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;

    void Hook(HWND window);
    void Unhook();
    HWND Hooked() const { return hooked_; }

  protected:
    // Return CallNext(...) for what the hook leaves to the window.
    virtual LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    friend class TWindow;
    LRESULT Run(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR object);

    HWND hooked_ = nullptr;
    // Set while hooked on a window of this program: its object and the hook next in line.
    TWindow* object_ = nullptr;
    TWindowHook* next_ = nullptr;
};
