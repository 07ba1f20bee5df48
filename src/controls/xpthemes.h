#pragma once
// The run-time binding to the visual-styles library "uxtheme.dll". It is
// loaded by name at program start, never linked, so the program also runs
// where the library is missing; then everything is drawn the classic way.
#include <windows.h>

using HTHEME = HANDLE;

// True once the library was loaded and its names were looked up.
extern bool ThemeLibraryLoaded;

// Loads the library (without the system's error box for a missing file) and
// looks up every entry point by name; a name the library lacks stays null.
void InitThemeLibrary(const char* libraryName = "uxtheme.dll");
void FreeThemeLibrary();

// Themes are loaded, switched on in the system and used by this program;
// asked afresh each time, so a theme switched off shows at the next paint.
bool UseThemes();

// The entry point of that name, or null when it was not found.
FARPROC ThemeEntryPoint(const char* name);
// Every name that is looked up, in lookup order, ending with null.
extern const char* const ThemeEntryPointNames[];

// The calls the themed controls make; each is a no-op answering failure when
// its entry point is missing.
HTHEME ThemeOpenThemeData(HWND window, const wchar_t* classList);
void ThemeCloseThemeData(HTHEME theme);
HRESULT ThemeDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                 const RECT* clip);
HRESULT ThemeDrawThemeText(HTHEME theme, HDC dc, int part, int state, const wchar_t* text,
                           int length, DWORD flags, DWORD flags2, const RECT* rect);
HRESULT ThemeDrawThemeParentBackground(HWND window, HDC dc, const RECT* rect);

// Tests put their own entry points in place of the library's.
void SetThemeEntryPointForTest(const char* name, FARPROC address);
void SetThemeLibraryLoadedForTest(bool loaded);
