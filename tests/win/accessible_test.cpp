// What a screen reader gets: the clock read from another process as a minute
// passes and after its window is gone, and the names of the dialogs' fields,
// the menu button and the about box's links.
#include "accessible_text.h"
#include "main_window_test.h"
#include "pump.h"
#include "tikkora_version.h"
#include "update/updateform.h"

#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The reader fixture on a window of this process, which answers the reader's
// calls while a test waits for its lines.
class ReaderProcess {
  public:
    explicit ReaderProcess(HWND window) {
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        HANDLE input = nullptr, output = nullptr;
        CreatePipe(&input, &in_, &inherited, 0);
        CreatePipe(&out_, &output, &inherited, 0);
        SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command(self);
        command = command.substr(0, command.rfind(L'\\') + 1) + L"tikkora_accessible_reader.exe " +
                  std::to_wstring(reinterpret_cast<UINT_PTR>(window));
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = input;
        start.hStdOutput = output;
        start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &start, &process_);
        CloseHandle(input);
        CloseHandle(output);
    }
    ~ReaderProcess() {
        // The end of its input ends the reader; Wine takes seconds to end a
        // process that used COM, which no test needs to wait for.
        CloseHandle(in_);
        CloseHandle(out_);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    // One reading: the lines up to the empty one that ends it.
    Lines Read() {
        Lines lines;
        std::string line;
        Poll([&] {
            char c = 0;
            DWORD available = 0, got = 0;
            while (PeekNamedPipe(out_, nullptr, 0, nullptr, &available, nullptr) && available &&
                   ReadFile(out_, &c, 1, &got, nullptr) && got) {
                if (c == '\n' && line.empty()) {
                    return true;
                }
                if (c == '\n') {
                    lines.push_back(std::exchange(line, ""));
                } else if (c != '\r') {
                    line += c;
                }
            }
            return false;
        });
        return lines;
    }
    void ReadAgain() {
        DWORD written = 0;
        WriteFile(in_, "\n", 1, &written, nullptr);
    }

  private:
    // The pipe and the process wake no message loop: a timer does.
    template <typename Done> static void Poll(Done done) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
        PumpUntil(done, 20000);
        KillTimer(nullptr, timer);
    }
    HANDLE in_ = nullptr, out_ = nullptr;
    PROCESS_INFORMATION process_{};
};

std::vector<HWND> nameChanges;
void CALLBACK NameChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT) {
        nameChanges.push_back(window);
    }
}

// The window's object read in this process, self first.
Lines ReadHere(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return {"no object"};
    }
    long children = 0;
    object->get_accChildCount(&children);
    Lines lines;
    for (long child = 0; child <= children; ++child) {
        lines.push_back(AccessibleLine(object, child));
    }
    object->Release();
    return lines;
}

} // namespace

class AccessibleTest : public MainWindowTest {};

TEST_F(AccessibleTest, AnotherProcessReadsTheClockAsTheMinutePassesAndIsCutOffWithIt) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=07\r\nMinute=30\r\n");
    now = {2026, 12, 8, 14, 5, 59};
    Create();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, NameChanged,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    nameChanges.clear();
    ReaderProcess reader(form->Handle());
    EXPECT_EQ(reader.Read(), Lines{"61|14:05|Dienstag, 8. Dezember 2026|Wecker 07:30|"});

    now = {2026, 12, 8, 14, 6, 0};
    form->AMClock1->ClockTick();
    reader.ReadAgain();
    EXPECT_EQ(reader.Read(), Lines{"61|14:06|Dienstag, 8. Dezember 2026|Wecker 07:30|"});
    EXPECT_EQ(nameChanges, std::vector<HWND>{form->Handle()});
    UnhookWinEvent(hook);

    form.reset();
    reader.ReadAgain();
    EXPECT_EQ(reader.Read(), Lines{"error 800401FD"});
}

TEST_F(AccessibleTest, TheDialogsFieldsTheMenuButtonAndTheLinksHaveTheirNames) {
    CoInitialize(nullptr);
    Create();
    auto alarm = std::make_unique<TForm2>(*Application, form->LinksForAlarmDialog());
    alarm->CreateHandle();
    auto about = std::make_unique<TForm3>(*Application, AboutBoxLinks{});
    about->CreateHandle();
    UpdateRunState run;
    Tupdateform update(UpdateEnvironment{*Application, nullptr, ""}, run);
    update.CreateHandle();
    // The system's own controls: their names (the role is the system's).
    const std::pair<TWinControl*, std::string> fields[] = {
        {alarm->DateTimePicker1.get(), "Weckzeit"},
        {alarm->CheckBox1.get(), "Aktiviert"},
        {alarm->ComboBox2.get(), "Meldung"},
        {alarm->Button3.get(), "Alte Meldungen löschen"},
        {alarm->ComboBox1.get(), "Wecksound"},
        {alarm->CheckBox2.get(), "Nach dem Wecken Alarm deativieren"},
        {alarm->Button1.get(), "OK"},
        {update.RichEditViewer1.get(), "Versionshinweise"},
        {update.ProgressBar1.get(), "Fortschritt"},
        {update.Button1.get(), "Abbrechen"}};
    for (const auto& [field, name] : fields) {
        const std::string self = ReadHere(field->Handle()).front();
        EXPECT_EQ(self.substr(self.find('|') + 1, name.size() + 1), name + "|");
    }
    // The program's own: role, name, value, description, action.
    EXPECT_EQ(ReadHere(form->ExplorerButton1->Handle()), Lines{"57|Menü|||Öffnen"});
    EXPECT_EQ(ReadHere(about->Handle()),
              (Lines{"18|Info|||", "41|Tikkora 2|||",
                     "41|Version " TIKKORA_VERSION_TEXT " Uhr mit Wecker © Tikkora Software|||",
                     "41|Es wird keine Garantie auf Fehlerfreiheit gewährt. Es wird nicht für "
                     "durch die Benutzung des Programms eventuell entstehende Schäden gehaftet. "
                     "Mehr:|||",
                     "30|Nutzungsbedingungen|||Öffnen",
                     "30|www.tikkora.example|www.tikkora.example||Öffnen",
                     "30|info@tikkora.example|mailto:info@tikkora.example||Öffnen",
                     "43|Schließen|||Drücken"}));
    CoUninitialize();
}
