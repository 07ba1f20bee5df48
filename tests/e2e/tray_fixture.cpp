#include "tray_fixture.h"

#include "clock_process.h"

#include <string>

namespace {
constexpr UINT kResizeClockMessage = WM_APP + 1; // understood by the taskbar stand-in
} // namespace

TrayFixture::TrayFixture(int width, int height) {
    Launch(std::to_wstring(width) + L" " + std::to_wstring(height));
}

TrayFixture::TrayFixture(Bridge) {
    Launch(L"bridge");
}

void TrayFixture::Launch(const std::wstring& arguments) {
    std::wstring exe = BuildFolder() + L"\\tikkora_tray_fixture.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        return;
    }
    auto started = [&] {
        clock = FindClock();
        bridge = FindWindowExW(tray, nullptr, L"Windows.UI.Composition.DesktopWindowContentBridge",
                               nullptr);
        return clock || bridge;
    };
    WaitUntil(started, 10000);
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

HWND TrayFixture::FindClock() {
    tray = FindWindowW(L"Shell_TrayWnd", L"");
    DWORD owner = 0;
    if (tray) {
        GetWindowThreadProcessId(tray, &owner);
    }
    if (owner != process_.dwProcessId) {
        return nullptr;
    }
    notify = FindWindowExW(tray, nullptr, L"TrayNotifyWnd", L"");
    return notify ? FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr) : nullptr;
}
