#include "window_search.h"

namespace {

struct Search {
    const WindowTest* accept;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if ((*search->accept)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindTopLevelWindow(const WindowTest& accept) {
    Search search{&accept, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindThreadWindow(DWORD threadId, const WindowTest& accept) {
    Search search{&accept, nullptr};
    EnumThreadWindows(threadId, Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildWindow(HWND parent, const WindowTest& accept) {
    Search search{&accept, nullptr};
    EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasClass(HWND window, const wchar_t* className) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return lstrcmpiW(name, className) == 0;
}

HWND FindVisibleWindow(DWORD processId, const wchar_t* className) {
    return FindTopLevelWindow([&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == processId && IsWindowVisible(window) && HasClass(window, className);
    });
}
