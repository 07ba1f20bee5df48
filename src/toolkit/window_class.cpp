#include "toolkit/window_class.h"

void RegisterWindowClassOnce(const WindowClassDesign& design, WNDPROC procedure) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, design.name, &existing)) {
        return;
    }
    WNDCLASSW windowClass{};
    windowClass.style = design.style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = design.programIcon ? LoadIconW(instance, L"MAINICON") : nullptr;
    windowClass.hCursor = design.arrowCursor ? LoadCursorW(nullptr, IDC_ARROW) : nullptr;
    windowClass.hbrBackground = design.background;
    windowClass.lpszClassName = design.name;
    RegisterClassW(&windowClass);
}
