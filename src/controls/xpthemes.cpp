#include "controls/xpthemes.h"

#include <cstring>
#include <iterator>

bool ThemeLibraryLoaded = false;

const char* const ThemeEntryPointNames[] = {
    "OpenThemeData",
    "CloseThemeData",
    "DrawThemeBackground",
    "DrawThemeText",
    "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent",
    "GetThemeTextExtent",
    "GetThemePartSize",
    "GetThemeTextMetrics",
    "GetThemeBackgroundRegion",
    "HitTestThemeBackground",
    "DrawThemeEdge",
    "DrawThemeIcon",
    "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent",
    "GetThemeColor",
    "GetThemeMetric",
    "GetThemeString",
    "GetThemeBool",
    "GetThemeInt",
    "GetThemeEnumValue",
    "GetThemePosition",
    "GetThemeFont",
    "GetThemeRect",
    "GetThemeMargins",
    "GetThemeIntList",
    "SetWindowTheme",
    "GetThemeFilename",
    "GetThemeSysColor",
    "GetThemeSysColorBrush",
    "GetThemeSysBool",
    "GetThemeSysSize",
    "GetThemeSysFont",
    "GetThemeSysString",
    "GetThemeSysInt",
    "IsThemeActive",
    "IsAppThemed",
    "GetWindowTheme",
    "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled",
    "GetThemeAppProperties",
    "SetThemeAppProperties",
    "GetCurrentThemeName",
    "GetThemeDocumentationProperty",
    "DrawThemeParentBackground",
    "EnableTheming",
    nullptr,
};

namespace {

constexpr std::size_t kEntryCount = std::size(ThemeEntryPointNames) - 1;

HMODULE library = nullptr;
FARPROC entries[kEntryCount] = {};

FARPROC& Entry(const char* name) {
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        if (std::strcmp(ThemeEntryPointNames[i], name) == 0) {
            return entries[i];
        }
    }
    static FARPROC unknown = nullptr;
    unknown = nullptr;
    return unknown;
}

// Function pointers of other types go through void(*)(), which the compiler
// accepts as a stand-in for any function type.
template <typename Function> Function Resolve(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(Entry(name)));
}

using OpenThemeDataProc = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataProc = HRESULT(WINAPI*)(HTHEME);
using DrawThemeBackgroundProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using DrawThemeTextProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD,
                                           const RECT*);
using DrawThemeParentBackgroundProc = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
using IsThemeActiveProc = BOOL(WINAPI*)();

} // namespace

void InitThemeLibrary(const char* libraryName) {
    ThemeLibraryLoaded = false;
    // An older system has no such library: that is no error to show.
    const UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    library = LoadLibraryA(libraryName);
    SetErrorMode(previousMode);
    if (!library) {
        return;
    }
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        entries[i] = GetProcAddress(library, ThemeEntryPointNames[i]);
    }
    ThemeLibraryLoaded = true;
}

void FreeThemeLibrary() {
    if (!ThemeLibraryLoaded) {
        return;
    }
    ThemeLibraryLoaded = false;
    for (FARPROC& entry : entries) {
        entry = nullptr;
    }
    if (library) {
        FreeLibrary(library);
        library = nullptr;
    }
}

bool UseThemes() {
    if (!ThemeLibraryLoaded) {
        return false;
    }
    auto isThemeActive = Resolve<IsThemeActiveProc>("IsThemeActive");
    auto isAppThemed = Resolve<IsThemeActiveProc>("IsAppThemed");
    return isThemeActive && isThemeActive() && isAppThemed && isAppThemed();
}

FARPROC ThemeEntryPoint(const char* name) {
    return Entry(name);
}

HTHEME ThemeOpenThemeData(HWND window, const wchar_t* classList) {
    auto call = Resolve<OpenThemeDataProc>("OpenThemeData");
    return call ? call(window, classList) : nullptr;
}

void ThemeCloseThemeData(HTHEME theme) {
    if (auto call = Resolve<CloseThemeDataProc>("CloseThemeData")) {
        call(theme);
    }
}

HRESULT ThemeDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                 const RECT* clip) {
    auto call = Resolve<DrawThemeBackgroundProc>("DrawThemeBackground");
    return call ? call(theme, dc, part, state, rect, clip) : E_NOTIMPL;
}

HRESULT ThemeDrawThemeText(HTHEME theme, HDC dc, int part, int state, const wchar_t* text,
                           int length, DWORD flags, DWORD flags2, const RECT* rect) {
    auto call = Resolve<DrawThemeTextProc>("DrawThemeText");
    return call ? call(theme, dc, part, state, text, length, flags, flags2, rect) : E_NOTIMPL;
}

HRESULT ThemeDrawThemeParentBackground(HWND window, HDC dc, const RECT* rect) {
    auto call = Resolve<DrawThemeParentBackgroundProc>("DrawThemeParentBackground");
    return call ? call(window, dc, rect) : E_NOTIMPL;
}

void SetThemeEntryPointForTest(const char* name, FARPROC address) {
    Entry(name) = address;
}

void SetThemeLibraryLoadedForTest(bool loaded) {
    ThemeLibraryLoaded = loaded;
}
