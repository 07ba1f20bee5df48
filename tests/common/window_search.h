#pragma once
// Finding a window in the tests: the first one a condition accepts, among the
// top-level windows, a thread's windows or a window's children.
#include <windows.h>

#include <functional>

using WindowTest = std::function<bool(HWND)>;

HWND FindTopLevelWindow(const WindowTest& accept);
HWND FindThreadWindow(DWORD threadId, const WindowTest& accept);
// Children at every depth.
HWND FindChildWindow(HWND parent, const WindowTest& accept);

// The class name compared without regard to case, as the system compares it.
bool HasClass(HWND window, const wchar_t* className);
// A visible top-level window of that process and class.
HWND FindVisibleWindow(DWORD processId, const wchar_t* className);
