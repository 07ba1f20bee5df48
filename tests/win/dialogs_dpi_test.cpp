// The three dialogs on screens of 96, 144 and 192 DPI. Wine takes the
// screen's DPI from the registry when a process starts, so the test sets it,
// runs the dialogs in a child process of this program and puts it back.
#include "about/form3.h"
#include "alarm/form2.h"
#include "printed.h"
#include "toolkit/application.h"
#include "toolkit/wide.h"
#include "update/updateform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kScaleVariable[] = L"TIKKORA_TEST_DIALOG_SCALE";

// As the program's manifest declares it: per monitor (v2 where there is one).
void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    const HANDLE perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
    if (!setContext || (!setContext(perMonitorV2) && !setContext(perMonitor))) {
        SetProcessDPIAware();
    }
}

// The screen's DPI in the prefix for the life of the object; what was there
// before comes back however the test ends.
class LogPixels {
  public:
    explicit LogPixels(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr);
        DWORD size = sizeof(previous_);
        hadValue_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS;
        Set(dpi);
    }
    ~LogPixels() {
        if (hadValue_) {
            Set(previous_);
        } else {
            RegDeleteValueW(key_, L"LogPixels");
        }
        RegCloseKey(key_);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;

  private:
    void Set(DWORD dpi) {
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof(dpi));
    }
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false;
};

// The child's exit code; -1 when it could not be started or did not end.
int RunChild(int scale) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=DialogsAtDpiChild.*";
    SetEnvironmentVariableW(kScaleVariable, std::to_wstring(scale).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableW(kScaleVariable, nullptr);
    if (!started) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 50000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

std::wstring WithoutMnemonics(std::wstring text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

// Every static text, check box and push button shows its whole caption:
// measured with the control's own font, a text wraps within the control's
// width into no more than its height; a button's caption and a check box's
// (beside its mark) fit on one line.
BOOL CALLBACK ExpectCaptionFits(HWND control, LPARAM scaleValue) {
    const int scale = static_cast<int>(scaleValue);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool isStatic = lstrcmpiW(className, L"Static") == 0;
    if (!isStatic && lstrcmpiW(className, L"Button") != 0) {
        return TRUE;
    }
    wchar_t caption[256] = {};
    GetWindowTextW(control, caption, 256);
    const std::wstring text = WithoutMnemonics(caption);
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    const bool isCheckBox = !isStatic && kind == BS_AUTOCHECKBOX;
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    // The check mark and its gap, a button's frame and inner edge.
    const int taken = isStatic ? 0 : isCheckBox ? 16 * scale : 6 * scale;
    RECT needed{0, 0, client.right - taken, 0};
    DrawTextW(dc, text.c_str(), -1, &needed,
              DT_CALCRECT | DT_NOPREFIX | (isStatic ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    EXPECT_LE(needed.right, client.right - taken) << Narrow(text) << " at factor " << scale;
    EXPECT_LE(needed.bottom, client.bottom) << Narrow(text) << " at factor " << scale;
    return TRUE;
}

} // namespace

TEST(DialogsAtDpi, TheDialogsAreTheFactorLargerAndTheirTextsFit) {
    // The registry value is the whole prefix's: the ctest entry runs alone.
    for (const auto& [dpi, scale] : {std::pair{96, 1}, {144, 2}, {192, 2}}) {
        const LogPixels screen(static_cast<DWORD>(dpi));
        EXPECT_EQ(RunChild(scale), 0) << "the dialogs at " << dpi << " DPI";
    }
}

// Runs only as the child of the test above, at the DPI it set.
TEST(DialogsAtDpiChild, AtTheScreensDpi) {
    const char* given = std::getenv("TIKKORA_TEST_DIALOG_SCALE");
    if (!given) {
        GTEST_SKIP() << "started by DialogsAtDpi only";
    }
    const int f = std::atoi(given);
    BecomeDpiAware();

    TForm2 alarm(*Application, AlarmDialogLinks{});
    alarm.CreateHandle();
    ASSERT_EQ(alarm.ScaleFactor(), f);
    const SIZE alarmSize = ClientSize(alarm.Handle());
    EXPECT_EQ(alarmSize.cx, 324 * f);
    EXPECT_EQ(alarmSize.cy, 307 * f);
    const RECT ok = alarm.Button1->BoundsRect();
    EXPECT_EQ(ok.left, 153 * f);
    EXPECT_EQ(ok.bottom, 299 * f);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(alarm.Button1->Handle(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -11 * f);
    EnumChildWindows(alarm.Handle(), ExpectCaptionFits, f);

    TForm3 about(*Application, AboutBoxLinks{});
    about.CreateHandle();
    const SIZE aboutSize = ClientSize(about.Handle());
    EXPECT_EQ(aboutSize.cx, 353 * f);
    EXPECT_EQ(aboutSize.cy, 311 * f);
    const RECT mail = about.LinkBounds(AboutElement::Mail);
    EXPECT_EQ(mail.left, 210 * f);
    EXPECT_LE(mail.right, aboutSize.cx);

    UpdateRunState run;
    Tupdateform update(UpdateEnvironment{*Application, nullptr, ""}, run);
    update.CreateHandle();
    const SIZE updateSize = ClientSize(update.Handle());
    EXPECT_EQ(updateSize.cx, 342 * f);
    EXPECT_EQ(updateSize.cy, 358 * f);
    EnumChildWindows(update.Handle(), ExpectCaptionFits, f);
    // The picture's pixels are blocks: the globe's sea and the disk's label
    // lie where they lie at 96 DPI, times the factor, and fill the block.
    const Printed shown(update.Handle(), 48 * f, 48 * f);
    for (int dx = 0; dx < f; ++dx) {
        EXPECT_EQ(shown.At((8 + 6) * f + dx, (11 + 19) * f + dx), RGB(40, 110, 210));
        EXPECT_EQ(shown.At((8 + 20) * f + dx, (11 + 30) * f + dx), RGB(250, 250, 250));
    }
}
