// Baseline for the start-up figure: the clock's windows and nothing else. A
// hidden owner, the framed always-on-top window in front and active, and the
// six child windows of the standard window (large row with its clock and date
// row, small row, menu button with its holder), each filled when painted.
// What Tikkora needs beyond this to start is its own work; what this costs
// beyond minimal_window is what the window set itself costs.
#include <windows.h>

#include "message_loop.h"

namespace {

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

HWND Child(HWND parent, int left, int top, int width, int height, bool visible = true) {
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    return CreateWindowExW(0, L"MinimalChild", L"", style, left, top, width, height, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Register(instance, L"MinimalOwner", OwnerProc);
    Register(instance, L"MinimalMain", MainProc);
    Register(instance, L"MinimalChild", ChildProc);
    HWND owner = CreateWindowExW(0, L"MinimalOwner", L"Minimal", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, L"MinimalMain", L"",
                        WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CLIPCHILDREN, 100, 100, 154, 69,
                        owner, nullptr, instance, nullptr);
    HWND large = Child(window, 19, 6, 123, 51);
    Child(large, 2, 2, 47, 47, false);
    Child(large, 58, 34, 59, 15);
    Child(window, 20, 39, 56, 17);
    HWND holder = Child(window, 1, 46, 17, 12);
    Child(holder, 1, 1, 14, 10);
    // In front and active before it is shown, then shown without a second
    // activation: the order the clock's start takes.
    BringWindowToTop(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return RunMessageLoop();
}
