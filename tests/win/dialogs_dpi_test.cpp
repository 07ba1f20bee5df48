// The three dialogs on screens of 96, 144 and 192 DPI. Wine reads the
// screen's DPI from the registry when a process starts: the test sets it,
// runs the dialogs in a child process of this program and puts it back.
#include "about/form3.h"
#include "alarm/form2.h"
#include "log_pixels.h"
#include "printed.h"
#include "toolkit/application.h"
#include "toolkit/wide.h"
#include "update/updateform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The child's exit code, or -1 when it did not start or end.
DWORD RunChild(int scale) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = L"child --gtest_filter=DialogsAtDpiChild.*";
    SetEnvironmentVariableW(L"TIKKORA_TEST_DIALOG_SCALE", std::to_wstring(scale).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    DWORD code = static_cast<DWORD>(-1);
    if (CreateProcessW(program, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &child)) {
        if (WaitForSingleObject(child.hProcess, 50000) != WAIT_OBJECT_0) {
            TerminateProcess(child.hProcess, code);
        }
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    SetEnvironmentVariableW(L"TIKKORA_TEST_DIALOG_SCALE", nullptr);
    return code;
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

// Measured with the control's own font, a static text wraps within its
// width into its height; a button's and a check box's caption (beside its
// mark) fit on one line.
BOOL CALLBACK ExpectCaptionFits(HWND control, LPARAM scale) {
    wchar_t kind[32] = {}, caption[256] = {};
    GetClassNameW(control, kind, 32);
    GetWindowTextW(control, caption, 256);
    const bool isStatic = lstrcmpiW(kind, L"Static") == 0;
    if (!isStatic && lstrcmpiW(kind, L"Button") != 0) {
        return TRUE;
    }
    const bool isCheckBox = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
    const int taken = static_cast<int>(scale) * (isStatic ? 0 : isCheckBox ? 16 : 6);
    const SIZE client = ClientSize(control);
    HDC dc = GetDC(control);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, client.cx - taken, 0};
    DrawTextW(dc, caption, -1, &needed, DT_CALCRECT | (isStatic ? DT_WORDBREAK : DT_SINGLELINE));
    ReleaseDC(control, dc);
    EXPECT_LE(needed.right, client.cx - taken) << Narrow(caption) << " at factor " << scale;
    EXPECT_LE(needed.bottom, client.cy) << Narrow(caption) << " at factor " << scale;
    return TRUE;
}

} // namespace

TEST(DialogsAtDpi, TheDialogsAreTheFactorLargerAndTheirTextsFit) {
    // The registry value is the whole prefix's, and the prefix is this test's own while it runs.
    for (const auto& [dpi, scale] : {std::pair{96, 1}, {144, 2}, {192, 2}}) {
        const LogPixels screen(static_cast<DWORD>(dpi));
        EXPECT_EQ(RunChild(scale), 0u) << "the dialogs at " << dpi << " DPI";
    }
}

// Runs only as the child of the test above, at the DPI it set, and as aware
// of it as the program's manifest makes the program (per monitor, v2).
TEST(DialogsAtDpiChild, AtTheScreensDpi) {
    const char* given = std::getenv("TIKKORA_TEST_DIALOG_SCALE");
    if (!given) {
        GTEST_SKIP() << "started by DialogsAtDpi only";
    }
    const int f = std::atoi(given);
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    // Per monitor v2, or per monitor where that is all there is (Wine 8);
    // refused when the manifest or the system made the process aware already.
    if (setContext && !setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) {
        setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
    }
    ASSERT_TRUE(IsProcessDPIAware());

    TForm2 alarm(*Application, AlarmDialogLinks{});
    alarm.CreateHandle();
    ASSERT_EQ(alarm.LayoutScale().Factor(), f);
    EXPECT_EQ(ClientSize(alarm.Handle()).cx, 324 * f);
    EXPECT_EQ(ClientSize(alarm.Handle()).cy, 307 * f);
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
    EXPECT_EQ(ClientSize(about.Handle()).cx, 353 * f);
    EXPECT_EQ(ClientSize(about.Handle()).cy, 311 * f);
    EXPECT_EQ(about.LinkBounds(AboutElement::Mail).left, 210 * f);
    EXPECT_LE(about.LinkBounds(AboutElement::Mail).right, 353 * f);

    UpdateRunState run;
    Tupdateform update(UpdateEnvironment{*Application, nullptr, ""}, run);
    update.CreateHandle();
    EXPECT_EQ(ClientSize(update.Handle()).cx, 342 * f);
    EXPECT_EQ(ClientSize(update.Handle()).cy, 358 * f);
    EnumChildWindows(update.Handle(), ExpectCaptionFits, f);
    // The picture's pixels are blocks: the globe's sea and the disk's label
    // fill the block where they lie at 96 DPI, times the factor.
    const Printed shown(update.Handle(), 48 * f, 48 * f);
    for (int d = 0; d < f; ++d) {
        EXPECT_EQ(shown.At((8 + 6) * f + d, (11 + 19) * f + d), RGB(40, 110, 210));
        EXPECT_EQ(shown.At((8 + 20) * f + d, (11 + 30) * f + d), RGB(250, 250, 250));
    }
}

// Moved to a monitor of 192 DPI and back, a dialog is laid out at that
// monitor's factor, at the place the system suggests.
TEST(DialogsAtDpi, AMoveToAnotherMonitorLaysTheDialogOutAgain) {
    TForm2 alarm(*Application, AlarmDialogLinks{});
    alarm.CreateHandle();
    TForm3 about(*Application, AboutBoxLinks{});
    about.CreateHandle();
    ASSERT_EQ(alarm.LayoutScale().Factor(), 1);
    for (const auto& [dpi, f] : {std::pair{192, 2}, {96, 1}}) {
        RECT suggested{10 * f, 20 * f, 500, 400};
        for (HWND dialog : {alarm.Handle(), about.Handle()}) {
            SendMessageW(dialog, 0x02E0, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            RECT placed{};
            GetWindowRect(dialog, &placed);
            EXPECT_EQ(placed.left, 10 * f);
            EXPECT_EQ(placed.top, 20 * f);
        }
        EXPECT_EQ(ClientSize(alarm.Handle()).cx, 324 * f);
        EXPECT_EQ(ClientSize(alarm.Handle()).cy, 307 * f);
        EXPECT_EQ(alarm.Button1->BoundsRect().left, 153 * f);
        EXPECT_EQ(alarm.CheckBox2->BoundsRect().bottom, (180 + 13) * f);
        EnumChildWindows(alarm.Handle(), ExpectCaptionFits, f);
        EXPECT_EQ(ClientSize(about.Handle()).cx, 353 * f);
        EXPECT_EQ(about.LinkBounds(AboutElement::Mail).left, 210 * f);
        EXPECT_EQ(about.GradientFill1->BoundsRect().right, 71 * f);
    }
}
