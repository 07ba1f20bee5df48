// What a screen reader in another process gets from the clock and the dialogs.
#include "about/form3.h"
#include "alarm/form2.h"
#include "main_window_test.h"
#include "pump.h"
#include "update/updateform.h"

class AccessibleTest : public MainWindowTest {
  protected:
    AccessibleTest() {
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES;
        HANDLE in = nullptr, out = nullptr;
        CreatePipe(&start.hStdInput, &in, nullptr, 0);
        CreatePipe(&out, &start.hStdOutput, nullptr, 0);
        in_.reset(in);
        out_.reset(out);
        SetHandleInformation(start.hStdInput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        SetHandleInformation(start.hStdOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        wchar_t command[] = L"tikkora_accessible_reader.exe";
        PROCESS_INFORMATION reader{};
        CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &start, &reader);
        for (HANDLE h : {start.hStdInput, start.hStdOutput, reader.hProcess, reader.hThread}) {
            CloseHandle(h);
        }
    }
    // The reader's answer (null window: from the object it holds); a timer wakes the pump.
    std::wstring Read(HWND window, int child = 0) {
        char ask[32];
        DWORD count = std::snprintf(ask, sizeof(ask), "%lu %d\n", HandleToUlong(window), child);
        WriteFile(in_.get(), ask, count, &count, nullptr);
        wchar_t answer[512];
        auto answered = [&] {
            return PeekNamedPipe(out_.get(), nullptr, 0, nullptr, &count, nullptr) && count &&
                   ReadFile(out_.get(), answer, sizeof(answer), &count, nullptr);
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
        PumpUntil(answered, 20000);
        KillTimer(nullptr, timer);
        return std::wstring(answer, count / sizeof(wchar_t));
    }
    // The end of its input ends the reader, which the test need not wait for.
    UniqueKernelHandle in_, out_;
};

TEST_F(AccessibleTest, TheClockTheDialogsFieldsTheMenuButtonAndTheLinks) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=07\r\nMinute=30\r\n");
    Create();
    TForm2 alarm(*Application, AlarmDialogLinks{});
    alarm.CreateHandle();
    TForm3 about(*Application, AboutBoxLinks{});
    about.CreateHandle();
    UpdateRunState run;
    Tupdateform update(UpdateEnvironment{*Application, nullptr, ""}, run);
    update.CreateHandle();
    // The system's controls by name, the program's wholly; last the clock, held.
    const std::tuple<HWND, int, std::wstring> answers[] = {
        {alarm.DateTimePicker1->Handle(), 0, L"Weckzeit|"},
        {alarm.ComboBox1->Handle(), 0, L"Wecksound|"},
        {update.RichEditViewer1->Handle(), 0, L"Versionshinweise|"},
        {Probe().MenuButton(), 0, L"Menü|||Öffnen|57"},
        {about.Handle(), 6, L"info@tikkora.example|mailto:info@tikkora.example||Öffnen|30"},
        {about.Handle(), LONG_MAX, L"error -2147024809|none"},
        {form->Handle(), 0, L"12:00|Freitag, 1. März 2024|Wecker 07:30||61"}};
    for (const auto& [window, child, start] : answers) {
        EXPECT_EQ(Read(window, child).substr(0, start.size()), start);
    }
    now = {2024, 3, 1, 12, 1, 0};
    Probe().ClockTick();
    EXPECT_EQ(Read(nullptr), L"12:01|Freitag, 1. März 2024|Wecker 07:30||61|none");
    form.reset();
    EXPECT_EQ(Read(nullptr), L"error " + std::to_wstring(CO_E_OBJNOTCONNECTED) + L"|none");
}
