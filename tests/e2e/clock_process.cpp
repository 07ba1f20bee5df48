#include "clock_process.h"

#include "toolkit/bitmap.h"
#include "toolkit/wide.h"
#include "window_search.h"

#include <fstream>
#include <sstream>

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path, length);
    return file.substr(0, file.find_last_of(L'\\'));
}

ClockProcess::ClockProcess(const std::string& settings) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    folder_ = std::wstring(temp) + L"tikkora-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW((BuildFolder() + L"\\Tikkora.exe").c_str(), (folder_ + L"\\Tikkora.exe").c_str(),
              FALSE);
    CopyFileW((BuildFolder() + L"\\Tikkora.wav").c_str(), (folder_ + L"\\Tikkora.wav").c_str(),
              FALSE);
    if (!settings.empty()) {
        std::ofstream file(SettingsPath().c_str(), std::ios::binary);
        file << settings;
    }
}

ClockProcess::ClockProcess(InFolderOf place) : folder_(place.other.folder_) {}

ClockProcess::~ClockProcess() {
    if (process_.hProcess) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(SettingsPath().c_str());
    DeleteFileW((folder_ + L"\\Tikkora.exe").c_str());
    DeleteFileW((folder_ + L"\\Tikkora.wav").c_str());
    for (const std::wstring& name : extraFiles_) {
        DeleteFileW((folder_ + L"\\" + name).c_str());
    }
    RemoveDirectoryW(folder_.c_str());
}

bool ClockProcess::CopyBesideProgram(const std::wstring& name) {
    if (!CopyFileW((BuildFolder() + L"\\" + name).c_str(), (folder_ + L"\\" + name).c_str(),
                   FALSE)) {
        return false;
    }
    extraFiles_.push_back(name);
    return true;
}

bool ClockProcess::Start(bool suspended) {
    std::wstring exe = folder_ + L"\\Tikkora.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          suspended ? CREATE_SUSPENDED : 0, nullptr, folder_.c_str(), &startup,
                          &process_) != FALSE;
}

bool ClockProcess::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ClockProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode) {
        GetExitCodeProcess(process_.hProcess, exitCode);
    }
    return true;
}

HWND ClockProcess::FindWindowOfClass(const wchar_t* className) const {
    return FindVisibleWindow(process_.dwProcessId, className);
}

HWND ClockProcess::WaitForMainWindow(DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowOfClass(L"TForm1")) != nullptr || !Running(); },
              timeoutMs);
    return window;
}

bool ClockProcess::CloseAndWait(DWORD timeoutMs) {
    HWND window = FindWindowOfClass(L"TForm1");
    if (!window) {
        return false;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

std::string ClockProcess::ReadSettings() const {
    std::ifstream file(SettingsPath().c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string ClockProcess::Setting(const char* section, const char* key,
                                  const char* fallback) const {
    wchar_t value[4096];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(fallback).c_str(),
                             value, 4096, SettingsPath().c_str());
    return Narrow(value);
}

Screenshot::Screenshot(RECT area)
    : width_(area.right - area.left), height_(area.bottom - area.top),
      pixels_(static_cast<std::size_t>(width_ * height_)) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateBitmap32(width_, height_, &bits);
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    BitBlt(memory, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const DWORD*>(bits);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        DWORD bgra = source[i];
        pixels_[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF Screenshot::Pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

void Screenshot::Save(const std::wstring& path) const {
    const int rowBytes = (width_ * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width_;
    info.biHeight = height_;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(rowBytes * height_);
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(info);
    fileHeader.bfSize = fileHeader.bfOffBits + info.biSizeImage;
    std::ofstream file(path.c_str(), std::ios::binary);
    file.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    file.write(reinterpret_cast<const char*>(&info), sizeof(info));
    std::vector<char> row(static_cast<std::size_t>(rowBytes), 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            COLORREF c = Pixel(x, y);
            row[static_cast<std::size_t>(x * 3)] = static_cast<char>(GetBValue(c));
            row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
            row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
        }
        file.write(row.data(), rowBytes);
    }
}

HWND FindMessageBox(DWORD processId) {
    return FindVisibleWindow(processId, L"#32770");
}

std::string WindowText(HWND window) {
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return Narrow(text);
}

std::string MessageBoxText(HWND box) {
    // The last static text that is not empty: the icon is a static too.
    std::string text;
    FindChildWindow(box, [&](HWND child) {
        if (HasClass(child, L"Static") && !WindowText(child).empty()) {
            text = WindowText(child);
        }
        return false;
    });
    return text;
}

void PressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

RECT PanelOnScreen(HWND window, int width, int height) {
    HWND panel = FindChildWindow(window, [&](HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        return HasClass(child, L"TPanel") && r.right - r.left == width &&
               r.bottom - r.top == height && IsWindowVisible(child);
    });
    RECT r{};
    if (panel) {
        GetWindowRect(panel, &r);
    }
    return r;
}

RECT WaitForDrawnDigits(HWND window, DWORD timeoutMs) {
    RECT panel{};
    const bool drawn = WaitUntil(
        [&] {
            panel = PanelOnScreen(window, 123, 51);
            if (panel.right == 0) {
                return false;
            }
            Screenshot shot(panel);
            for (int y = 0; y < shot.Height(); ++y) {
                for (int x = 0; x < shot.Width(); ++x) {
                    if (shot.Pixel(x, y) != shot.Pixel(0, 0)) {
                        return true;
                    }
                }
            }
            return false;
        },
        timeoutMs);
    return drawn ? panel : RECT{};
}

GUITHREADINFO GuiStateOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        info = GUITHREADINFO{};
    }
    return info;
}

bool WaitForChange(RECT area, const Screenshot& shot, DWORD timeoutMs) {
    return WaitUntil([&] { return !(Screenshot(area) == shot); }, timeoutMs);
}

void Mouse(DWORD down, DWORD up, POINT at) {
    SetCursorPos(at.x, at.y);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = down;
    press[1].mi.dwFlags = up;
    SendInput(2, press, sizeof(INPUT));
}

void MoveMouse(POINT to) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(to.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(to.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(INPUT));
}

void Click(int x, int y, int times) {
    for (int i = 0; i < times; ++i) {
        Mouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, POINT{x, y});
        Sleep(30);
    }
}

void Key(WORD key, int times) {
    for (int i = 0; i < times; ++i) {
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_KEYBOARD;
        press[0].ki.wVk = press[1].ki.wVk = key;
        press[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, press, sizeof(INPUT));
        Sleep(30);
    }
}

POINT Centre(RECT r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
