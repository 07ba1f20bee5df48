#pragma once
// Window classes of this program, registered on first use.
#include <windows.h>

struct WindowClassDesign {
    const wchar_t* name;
    UINT style = 0;
    bool arrowCursor = true;
    bool programIcon = false;    // the "MAINICON" resource
    HBRUSH background = nullptr; // null: the window paints every pixel
};

// Registers the class with its window procedure unless this program has it already.
void RegisterWindowClassOnce(const WindowClassDesign& design, WNDPROC procedure);
