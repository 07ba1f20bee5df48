#include "tray_fixture.h"

#include "clock_process.h"

#include <string>

namespace {
// Understood by the taskbar stand-in.
constexpr UINT kResizeClockMessage = WM_APP + 1;
constexpr UINT kRaiseMessage = WM_APP + 2;
constexpr UINT kHideMessage = WM_APP + 3;
} // namespace

TrayFixture::TrayFixture(int width, int height) {
    if (Launch(std::to_wstring(width) + L" " + std::to_wstring(height))) {
        WaitUntil([&] { return (clock = FindClock()) != nullptr; }, 10000);
    }
}

TrayFixture::TrayFixture(Bridge) {
    if (Launch(L"bridge")) {
        WaitUntil([&] { return (bridge = FindBridge()) != nullptr; }, 10000);
    }
}

bool TrayFixture::Launch(const std::wstring& arguments) {
    std::wstring exe = BuildFolder() + L"\\tikkora_tray_fixture.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process_) != FALSE;
}

void TrayFixture::Raise() {
    SendMessageW(tray, kRaiseMessage, 0, 0);
}

void TrayFixture::MoveOutOfView(bool out) {
    SendMessageW(tray, kHideMessage, out ? 1 : 0, 0);
}

void TrayFixture::Resize(int width, int height) {
    SendMessageW(tray, kResizeClockMessage, static_cast<WPARAM>(width), height);
}

void TrayFixture::Stop() {
    if (!process_.hProcess) {
        return;
    }
    if (tray) {
        PostMessageW(tray, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION{};
    tray = notify = clock = bridge = nullptr;
}

HWND TrayFixture::FindBridge() {
    FindClock(); // finds the stand-in's taskbar
    return tray ? FindWindowExW(tray, nullptr, L"Windows.UI.Composition.DesktopWindowContentBridge",
                                nullptr)
                : nullptr;
}

HWND TrayFixture::FindClock() {
    tray = FindWindowW(L"Shell_TrayWnd", L"");
    DWORD owner = 0;
    if (tray) {
        GetWindowThreadProcessId(tray, &owner);
    }
    if (owner != process_.dwProcessId) {
        tray = nullptr;
        return nullptr;
    }
    notify = FindWindowExW(tray, nullptr, L"TrayNotifyWnd", L"");
    return notify ? FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr) : nullptr;
}
