// What a screen reader gets, read from another process: the clock as a minute
// passes and after its window is gone; the names of the dialogs' fields, the
// menu button and the about box's links.
#include "main_window_test.h"
#include "pump.h"
#include "tikkora_version.h"
#include "update/updateform.h"

#include <sstream>
#include <vector>

using Lines = std::vector<std::string>;

class AccessibleTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        CreatePipe(&start_.hStdInput, &in_, &inherited, 0);
        CreatePipe(&out_, &start_.hStdOutput, &inherited, 0);
        SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        wchar_t self[MAX_PATH];
        std::wstring command(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
        command = command.substr(0, command.rfind(L'\\') + 1) + L"tikkora_accessible_reader.exe";
        start_.cb = sizeof(start_);
        start_.dwFlags = STARTF_USESTDHANDLES;
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &start_, &reader_);
    }
    // The end of its input ends the reader; Wine takes seconds to end a
    // process that used COM, which the test need not wait for.
    void TearDown() override {
        for (HANDLE h :
             {in_, out_, start_.hStdInput, start_.hStdOutput, reader_.hProcess, reader_.hThread}) {
            CloseHandle(h);
        }
        MainWindowTest::TearDown();
    }
    // The reader's lines for a window (null: the object it holds), read
    // while this thread answers its calls. A timer wakes the loop, which the
    // pipe does not.
    Lines Read(HWND window = nullptr) {
        const std::string line = window ? std::to_string(reinterpret_cast<UINT_PTR>(window)) : "";
        DWORD count = 0;
        WriteFile(in_, (line + "\n").c_str(), static_cast<DWORD>(line.size() + 1), &count, nullptr);
        std::string text;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
        PumpUntil(
            [&] {
                char c = 0;
                while (PeekNamedPipe(out_, nullptr, 0, nullptr, &count, nullptr) && count &&
                       ReadFile(out_, &c, 1, &count, nullptr)) {
                    text += c == '\r' ? "" : std::string(1, c);
                }
                return text.size() > 1 && text.compare(text.size() - 2, 2, "\n\n") == 0;
            },
            20000);
        KillTimer(nullptr, timer);
        Lines lines;
        std::istringstream split(text);
        for (std::string line; std::getline(split, line) && !line.empty();) {
            lines.push_back(line);
        }
        return lines;
    }
    STARTUPINFOW start_{};
    PROCESS_INFORMATION reader_{};
    HANDLE in_ = nullptr, out_ = nullptr;
};

TEST_F(AccessibleTest, AnotherProcessReadsTheClockAsTheMinutePassesAndIsCutOffWithIt) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=07\r\nMinute=30\r\n");
    now = {2026, 12, 8, 14, 5, 59};
    Create();
    EXPECT_EQ(Read(form->Handle()), Lines{"61|14:05|Dienstag, 8. Dezember 2026|Wecker 07:30|"});
    now = {2026, 12, 8, 14, 6, 0};
    form->AMClock1->ClockTick();
    EXPECT_EQ(Read(), Lines{"61|14:06|Dienstag, 8. Dezember 2026|Wecker 07:30|"});
    form.reset();
    EXPECT_EQ(Read(), Lines{"error 800401FD"});
}

TEST_F(AccessibleTest, TheDialogsFieldsTheMenuButtonAndTheLinksHaveTheirNames) {
    Create();
    TForm2 alarm(*Application, form->LinksForAlarmDialog());
    alarm.CreateHandle();
    TForm3 about(*Application, AboutBoxLinks{});
    about.CreateHandle();
    UpdateRunState run;
    Tupdateform update(UpdateEnvironment{*Application, nullptr, ""}, run);
    update.CreateHandle();
    // The system's own controls: their names (their roles are the system's).
    const std::pair<TWinControl*, std::string> fields[] = {
        {alarm.DateTimePicker1.get(), "Weckzeit"},
        {alarm.CheckBox1.get(), "Aktiviert"},
        {alarm.ComboBox2.get(), "Meldung"},
        {alarm.Button3.get(), "Alte Meldungen löschen"},
        {alarm.ComboBox1.get(), "Wecksound"},
        {alarm.CheckBox2.get(), "Nach dem Wecken Alarm deativieren"},
        {alarm.Button1.get(), "OK"},
        {update.RichEditViewer1.get(), "Versionshinweise"},
        {update.ProgressBar1.get(), "Fortschritt"},
        {update.Button1.get(), "Abbrechen"}};
    for (const auto& [field, name] : fields) {
        const std::string self = Read(field->Handle()).front();
        EXPECT_EQ(self.substr(self.find('|') + 1, name.size() + 1), name + "|");
    }
    // The program's own: role, name, value, description, action.
    EXPECT_EQ(Read(form->ExplorerButton1->Handle()), Lines{"57|Menü|||Öffnen"});
    EXPECT_EQ(Read(about.Handle()),
              (Lines{"18|Info|||", "41|Tikkora 2|||",
                     "41|Version " TIKKORA_VERSION_TEXT " Uhr mit Wecker © Tikkora Software|||",
                     "41|Es wird keine Garantie auf Fehlerfreiheit gewährt. Es wird nicht für "
                     "durch die Benutzung des Programms eventuell entstehende Schäden gehaftet. "
                     "Mehr:|||",
                     "30|Nutzungsbedingungen|||Öffnen",
                     "30|www.tikkora.example|www.tikkora.example||Öffnen",
                     "30|info@tikkora.example|mailto:info@tikkora.example||Öffnen",
                     "43|Schließen|||Drücken"}));
}
