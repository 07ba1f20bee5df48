// The alarm dialog in this process beside a main window, with the program
// folder, message boxes, help and sound taken over by the test: what it shows,
// what OK stores, what Abbrechen does not, and the message history.
#include "alarm/form2.h"
#include "rules/message_history.h"
#include "analogclock/amclock.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/form1.h"
#include "app/main_window_probe.h"
#include "toolkit/controls.h"
#include "toolkit/panel.h"
#include "settings/program_objects.h"
#include "temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The lines of one section of a profile text, in file order.
Lines SectionLines(const std::string& text, const std::string& section) {
    Lines lines;
    std::istringstream in(text);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside && !line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

HWND EditOf(const TComboBox& combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(combo.Handle(), &info);
    return info.hwndItem;
}

std::string Caption(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Narrow(text);
}

} // namespace

class AlarmDialogTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    void SetUp() override {
        seams::SetProgramFilePathForTest(folder.File("Tikkora.exe"));
        seams::SetClockForTest([] { return LocalTime{2024, 3, 5, 12, 34, 56, 0}; });
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            boxes.push_back(call);
            return answer;
        });
        // With the old help file beside the program the help goes to WinHelp,
        // which these tests record.
        folder.Write("Tikora.hlp", "");
        seams::SetHelpHandlerForTest([this](const seams::HelpCall& call) {
            help.push_back(call);
            return true;
        });
        seams::SetSoundRecorderForTest(
            [this](const seams::SoundCall& call) { sounds.push_back(call); });
    }
    void TearDown() override {
        dialog.reset();
        main.reset();
    }
    // The main window (which opens the settings file) and the dialog, made as
    // at program start.
    TForm2& Create(const std::string& settings = "") {
        if (!settings.empty()) {
            folder.Write("Tikkora.ini", settings);
        }
        main = std::make_unique<TForm1>(*Application);
        main->CreateHandle();
        dialog = std::make_unique<TForm2>(*Application, main->LinksForAlarmDialog());
        dialog->CreateHandle();
        return *dialog;
    }
    // The message a window gets when it is shown runs FormShow, as in
    // ShowModal. (Really showing and hiding a framed window costs seconds
    // under Wine without a window manager; the modal tests do it for real.)
    void Show() { SendMessageW(dialog->Handle(), WM_SHOWWINDOW, TRUE, 0); }
    void Type(const std::string& message) { dialog->ComboBox2->SetText(message); }
    void PressOk() {
        SendMessageW(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog->Button1->Handle()));
    }
    std::string Ini(const char* section, const char* key) const {
        wchar_t value[4096];
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"<none>", value, 4096,
                                 Widen(folder.File("Tikkora.ini")).c_str());
        return Narrow(value);
    }
    Lines History() const { return SectionLines(folder.Read("Tikkora.ini"), "meldungen"); }
    void SetPickerTime(int hour, int minute) {
        SYSTEMTIME time = dialog->DateTimePicker1->DateTime();
        time.wHour = static_cast<WORD>(hour);
        time.wMinute = static_cast<WORD>(minute);
        dialog->DateTimePicker1->SetDateTime(time);
    }

    TempFolder folder;
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm2> dialog;
    std::vector<seams::MessageBoxCall> boxes;
    std::vector<seams::HelpCall> help;
    std::vector<seams::SoundCall> sounds;
    int answer = IDOK;
};

TEST_F(AlarmDialogTest, WindowHasItsCaptionSizeFrameAndPlace) {
    TForm2& form = Create();
    EXPECT_EQ(Form2, &form);
    EXPECT_EQ(Caption(form.Handle()), "Weckzeit: ");
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 324);
    EXPECT_EQ(client.bottom, 307);
    const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
    const LONG exStyle = GetWindowLongW(form.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_CONTEXTHELP);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    const RECT bounds = form.BoundsRect();
    EXPECT_NEAR((bounds.left + bounds.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((bounds.top + bounds.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_FALSE(form.Visible());
}

TEST_F(AlarmDialogTest, EveryControlIsAtItsPlaceWithItsTextHelpAndMenu) {
    TForm2& form = Create();
    const struct {
        TWinControl* control;
        TWinControl* parent;
        const wchar_t* windowClass;
        const char* caption;
        RECT bounds;
        int help;
    } table[] = {
        {form.StaticText1.get(), nullptr, L"Static", "&Weckzeit:", {127, 23, 179, 40}, 31},
        {form.DateTimePicker1.get(),
         nullptr,
         L"SysDateTimePick32",
         nullptr,
         {181, 19, 242, 41},
         31},
        {form.CheckBox1.get(), nullptr, L"Button", "&Aktiviert", {249, 22, 311, 38}, 33},
        {form.GroupBox1.get(), nullptr, L"TGroupBox", "&Optionen", {17, 55, 310, 266}, 0},
        {form.StaticText2.get(),
         form.GroupBox1.get(),
         L"Static",
         "&Meldung:",
         {29, 29, 75, 46},
         38},
        {form.ComboBox2.get(), form.GroupBox1.get(), L"ComboBox", nullptr, {78, 26, 268, 47}, 38},
        {form.Button3.get(),
         form.GroupBox1.get(),
         L"Button",
         "Alte Meldungen &löschen",
         {78, 54, 218, 75},
         39},
        {form.StaticText3.get(),
         form.GroupBox1.get(),
         L"Static",
         "Weck&sound:",
         {12, 116, 75, 133},
         36},
        {form.ComboBox1.get(), form.GroupBox1.get(), L"ComboBox", nullptr, {78, 113, 268, 134}, 36},
        {form.CheckBox2.get(),
         form.GroupBox1.get(),
         L"Button",
         "&Nach dem Wecken Alarm deativieren",
         {78, 180, 279, 193},
         37},
        {form.Button1.get(), nullptr, L"Button", "OK", {153, 276, 229, 299}, 34},
        {form.Button2.get(), nullptr, L"Button", "Abbrechen", {233, 276, 309, 299}, 35},
    };
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const auto& row = table[i];
        SCOPED_TRACE("row " + std::to_string(i));
        ASSERT_NE(row.control, nullptr);
        EXPECT_EQ(row.control->Parent(), row.parent);
        EXPECT_EQ(GetParent(row.control->Handle()),
                  row.parent ? row.parent->Handle() : form.Handle());
        EXPECT_EQ(lstrcmpiW(row.control->WindowClassName().c_str(), row.windowClass), 0);
        if (row.caption) {
            EXPECT_EQ(row.control->Caption(), row.caption);
        }
        const RECT bounds = row.control->BoundsRect();
        EXPECT_EQ(bounds.left, row.bounds.left);
        EXPECT_EQ(bounds.top, row.bounds.top);
        EXPECT_EQ(bounds.right, row.bounds.right);
        EXPECT_EQ(bounds.bottom, row.bounds.bottom);
        EXPECT_EQ(row.control->Tag, row.help);
        EXPECT_EQ(row.control->HelpContext, row.help);
        EXPECT_EQ(row.control->PopupMenu, &TMainWindowProbe(*main).HelpMenu());
    }
    // OK is the default button; the message field takes free text, the sound list does not.
    EXPECT_EQ(GetWindowLongW(form.Button1->Handle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(form.ComboBox2->Handle(), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(GetWindowLongW(form.ComboBox1->Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_FALSE(form.CheckBox2->Checked());
}

TEST_F(AlarmDialogTest, TabKeyVisitsTheControlsInTheirOrder) {
    TForm2& form = Create();
    Show();
    const std::vector<HWND> expected{form.DateTimePicker1->Handle(), form.CheckBox1->Handle(),
                                     form.ComboBox2->Handle(),       form.Button3->Handle(),
                                     form.ComboBox1->Handle(),       form.CheckBox2->Handle(),
                                     form.Button1->Handle(),         form.Button2->Handle()};
    std::vector<HWND> visited{form.DateTimePicker1->Handle()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        HWND next = GetNextDlgTabItem(form.Handle(), visited.back(), FALSE);
        // The edit inside the message combo box stands for it.
        if (GetParent(next) == form.ComboBox2->Handle()) {
            next = form.ComboBox2->Handle();
        }
        visited.push_back(next);
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(AlarmDialogTest, AltWithTheUnderlinedLetterReachesEveryLabelledField) {
    TForm2& form = Create();
    ShowWindow(form.Handle(), SW_SHOW);
    SetForegroundWindow(form.Handle());
    const struct {
        wchar_t letter;
        TWinControl* field;
    } table[] = {{L'o', form.GroupBox1.get()},
                 {L'm', form.ComboBox2.get()},
                 {L's', form.ComboBox1.get()},
                 {L'w', form.DateTimePicker1.get()}};
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(1, static_cast<char>(row.letter)));
        form.Button2->SetFocus();
        ASSERT_EQ(GetFocus(), form.Button2->Handle());
        MSG key{GetFocus(), WM_SYSCHAR, row.letter, 1 << 29, 0, {}};
        EXPECT_TRUE(IsDialogMessageW(form.Handle(), &key));
        HWND focus = GetFocus();
        EXPECT_TRUE(focus == row.field->Handle() || IsChild(row.field->Handle(), focus));
    }
}

TEST_F(AlarmDialogTest, FirstShowingLoadsTheStoredMessageAndLaterOnesKeepTheField) {
    TForm2& form = Create("[Wecker]\r\nMeldung=Aufstehen\r\n");
    Show();
    EXPECT_EQ(form.ComboBox2->Text(), "Aufstehen");
    PressOk();
    EXPECT_EQ(Ini("Wecker", "Meldung"), "Aufstehen");
    Type("Zahnarzt");
    folder.Write("Tikkora.ini", "[Wecker]\r\nMeldung=anders\r\n");
    Show();
    EXPECT_EQ(form.ComboBox2->Text(), "Zahnarzt");
}

TEST_F(AlarmDialogTest, StoredValuesAreShownAndTheSoundIsFoundIgnoringCase) {
    folder.Write("Glocke.wav", "RIFF");
    folder.Write("Morgen.WAV", "RIFF");
    folder.Write("notiz.txt", "");
    TForm2& form = Create("[Wecker]\r\nStunde=7\r\nMinute=5\r\nAktiv=0\r\nAktivMode=1\r\n"
                          "Sound=MORGEN.wav\r\n");
    Show();
    const SYSTEMTIME picked = form.DateTimePicker1->DateTime();
    EXPECT_EQ(picked.wHour, 7);
    EXPECT_EQ(picked.wMinute, 5);
    EXPECT_FALSE(form.CheckBox1->Checked());
    EXPECT_TRUE(form.CheckBox2->Checked());
    std::vector<std::string> sounds = form.ComboBox1->Items();
    std::sort(sounds.begin(), sounds.end());
    EXPECT_EQ(sounds, (std::vector<std::string>{"Glocke.wav", "Morgen.WAV"}));
    EXPECT_EQ(form.ComboBox1->Text(), "Morgen.WAV");
    // Setting the time from the file is no change by the user.
    EXPECT_EQ(Caption(form.Handle()), "Weckzeit: ");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(this->sounds.empty());
}

TEST_F(AlarmDialogTest, WithoutSettingsTheDefaultsAreShown) {
    folder.Write("Tikkora.wav", "RIFF");
    TForm2& form = Create();
    Show();
    EXPECT_EQ(form.DateTimePicker1->DateTime().wHour, 0);
    EXPECT_EQ(form.DateTimePicker1->DateTime().wMinute, 0);
    EXPECT_TRUE(form.CheckBox1->Checked()) << "an alarm set for the first time is on";
    EXPECT_FALSE(form.CheckBox2->Checked());
    EXPECT_EQ(form.ComboBox1->Text(), "Tikkora.wav");
    EXPECT_TRUE(form.ComboBox2->Items().empty());
}

TEST_F(AlarmDialogTest, OkStoresEverythingAndRedrawsTheAlarmLine) {
    folder.Write("Glocke.wav", "RIFF");
    TForm2& form = Create("[Wecker]\r\nStunde=7\r\nMinute=5\r\nSound=glocke.wav\r\n");
    Show();
    form.CheckBox1->SetChecked(true);
    form.CheckBox2->SetChecked(true);
    Type("  Aufstehen  ");
    PressOk();
    EXPECT_EQ(form.ModalResult(), IDOK);
    EXPECT_EQ(Ini("Wecker", "Stunde"), "07");
    EXPECT_EQ(Ini("Wecker", "Minute"), "05");
    EXPECT_EQ(Ini("Wecker", "Sound"), "Glocke.wav");
    EXPECT_EQ(Ini("Wecker", "Aktiv"), "1");
    EXPECT_EQ(Ini("Wecker", "AktivMode"), "1");
    EXPECT_EQ(Ini("Wecker", "Meldung"), "Aufstehen");
    // The history keeps the text as typed, blanks and all.
    EXPECT_EQ(form.ComboBox2->Items(), (std::vector<std::string>{"  Aufstehen  "}));
    EXPECT_EQ(form.ComboBox2->Text(), "  Aufstehen  ");
    EXPECT_TRUE(TMainWindowProbe(*main).Glyphs(ClockRow::Small)[4] != -1)
        << "alarm line shows the hour";
    EXPECT_TRUE(boxes.empty());

    // Off: stored as off, and the alarm line is cleared.
    form.SetModalResult(0);
    form.CheckBox1->SetChecked(false);
    SetPickerTime(23, 59);
    Type("Zahnarzt");
    PressOk();
    EXPECT_EQ(Ini("Wecker", "Stunde"), "23");
    EXPECT_EQ(Ini("Wecker", "Minute"), "59");
    EXPECT_EQ(Ini("Wecker", "Aktiv"), "0");
    EXPECT_FALSE(TMainWindowProbe(*main).Glyphs(ClockRow::Small)[4] != -1);
    EXPECT_EQ(History(), (Lines{"Zahnarzt=0", "*1=1|%20%20Aufstehen%20%20"}));
}

TEST_F(AlarmDialogTest, NoSoundFilesStoresAnEmptySound) {
    TForm2& form = Create("[Wecker]\r\nSound=Tikkora.wav\r\n");
    Show();
    EXPECT_TRUE(form.ComboBox1->Items().empty());
    PressOk();
    EXPECT_EQ(Ini("Wecker", "Sound"), "");
}

TEST_F(AlarmDialogTest, CancelAndEscapeStoreNothing) {
    const std::string settings = "[Wecker]\r\nStunde=6\r\nMinute=30\r\nAktiv=1\r\n"
                                 "[meldungen]\r\nKaffee=0\r\n";
    TForm2& form = Create(settings);
    const std::string before = folder.Read("Tikkora.ini");
    Show();
    SetPickerTime(9, 15);
    form.CheckBox1->SetChecked(false);
    Type("Neu");
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Button2->Handle()));
    EXPECT_EQ(form.ModalResult(), IDCANCEL);
    EXPECT_EQ(folder.Read("Tikkora.ini"), before);

    // Escape in the modal loop, and the caption's close button.
    for (UINT key : {static_cast<UINT>(VK_ESCAPE), 0u}) {
        if (key) {
            PostMessageW(form.CheckBox1->Handle(), WM_KEYDOWN, key, 0);
        } else {
            PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(form.ShowModal(), IDCANCEL);
        EXPECT_FALSE(form.Visible());
        EXPECT_EQ(folder.Read("Tikkora.ini"), before);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AlarmDialogTest, EnterInTheModalLoopIsOk) {
    TForm2& form = Create("[Wecker]\r\nStunde=6\r\nMinute=30\r\n");
    PostMessageW(form.CheckBox1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form.ShowModal(), IDOK);
    EXPECT_EQ(Ini("Wecker", "Stunde"), "06");
    EXPECT_EQ(Ini("Wecker", "Minute"), "30");
}

TEST_F(AlarmDialogTest, InvalidStoredTimeIsReportedAndTheDialogStillOpens) {
    folder.Write("Glocke.wav", "RIFF");
    TForm2& form = Create("[Wecker]\r\nStunde=99\r\nMinute=-1\r\nAktiv=0\r\nSound=Glocke.wav\r\n");
    SetPickerTime(8, 45);
    PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(form.ShowModal(), IDCANCEL);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "'99:-1' is not a valid date and time");
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // The picker keeps its time; the rest is read all the same, so that OK
    // does not store defaults over the user's settings.
    EXPECT_EQ(form.DateTimePicker1->DateTime().wHour, 8);
    EXPECT_EQ(form.DateTimePicker1->DateTime().wMinute, 45);
    EXPECT_FALSE(form.CheckBox1->Checked());
    EXPECT_EQ(form.ComboBox1->Text(), "Glocke.wav");
    // OK repairs the stored time.
    PressOk();
    EXPECT_EQ(Ini("Wecker", "Stunde"), "08");
    EXPECT_EQ(Ini("Wecker", "Minute"), "45");
    EXPECT_EQ(Ini("Wecker", "Sound"), "Glocke.wav");
}

TEST_F(AlarmDialogTest, OtherStoredTimesThatAreNoTime) {
    for (const char* stored : {"Stunde=24\r\nMinute=00", "Stunde=7\r\nMinute=60",
                               "Stunde=ab\r\nMinute=05", "Stunde=\r\nMinute=05"}) {
        boxes.clear();
        dialog.reset();
        main.reset();
        Create(std::string("[Wecker]\r\n") + stored + "\r\n");
        Show();
        ASSERT_EQ(boxes.size(), 1u) << stored;
        EXPECT_NE(boxes[0].text.find("is not a valid date and time"), std::string::npos);
    }
}

TEST_F(AlarmDialogTest, UserChangingTheTimeShowsItInTheCaption) {
    TForm2& form = Create();
    Show();
    SetPickerTime(7, 5);
    EXPECT_EQ(Caption(form.Handle()), "Weckzeit: ");
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = form.DateTimePicker1->Handle();
    change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(form.DateTimePicker1->Handle()));
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = form.DateTimePicker1->DateTime();
    SendMessageW(form.Handle(), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(Caption(form.Handle()), "Weckzeit: 7:05");
    SetPickerTime(23, 0);
    SendMessageW(form.Handle(), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(Caption(form.Handle()), "Weckzeit: 23:00");
    // The next showing keeps what the caption last said.
    form.Hide();
    Show();
    EXPECT_EQ(Caption(form.Handle()), "Weckzeit: 23:00");
}

TEST_F(AlarmDialogTest, PickingASoundPlaysItOnceFromTheProgramFolder) {
    folder.Write("Glocke.wav", "RIFF");
    folder.Write("Morgen.wav", "RIFF");
    TForm2& form = Create("[Wecker]\r\nSound=Glocke.wav\r\n");
    Show();
    ASSERT_EQ(form.ComboBox1->Items().size(), 2u);
    // The keyboard moves the selection in a closed drop-down list.
    const int before = form.ComboBox1->ItemIndex();
    SendMessageW(form.ComboBox1->Handle(), WM_KEYDOWN, before == 0 ? VK_DOWN : VK_UP, 0);
    ASSERT_NE(form.ComboBox1->ItemIndex(), before);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].path, folder.File(form.ComboBox1->Text()));
    EXPECT_EQ(sounds[0].flags, static_cast<UINT>(SND_ASYNC));
    // Choosing by program code plays nothing.
    form.ComboBox1->SetItemIndex(before);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(AlarmDialogTest, SoundOutsideTheFolderIsNeitherSelectedNorPlayed) {
    folder.Write("Tikkora.wav", "RIFF");
    for (const char* stored :
         {"..\\Tikkora.wav", "C:\\windows\\media\\Tikkora.wav", "\\\\server\\share\\x.wav"}) {
        dialog.reset();
        main.reset();
        Create(std::string("[Wecker]\r\nSound=") + stored + "\r\n");
        Show();
        EXPECT_EQ(dialog->ComboBox1->ItemIndex(), -1) << stored;
        EXPECT_EQ(dialog->ComboBox1->Text(), "") << stored;
    }
    EXPECT_TRUE(sounds.empty());
    PressOk();
    EXPECT_EQ(Ini("Wecker", "Sound"), "");
}

TEST_F(AlarmDialogTest, HistoryIsReadAtCreationInFileOrder) {
    TForm2& form = Create("[meldungen]\r\nZahnarzt=0\r\nKaffee=1\r\n*2=2|a%3Db\r\nTee=7\r\n");
    EXPECT_EQ(form.ComboBox2->Items(),
              (std::vector<std::string>{"Zahnarzt", "Kaffee", "a=b", "Tee"}));
    EXPECT_EQ(form.ComboBox2->Text(), "");
    // Changes in the file later do not reach the list.
    folder.Write("Tikkora.ini", "[meldungen]\r\nAnders=0\r\n");
    Show();
    EXPECT_EQ(form.ComboBox2->Items().size(), 4u);
}

TEST_F(AlarmDialogTest, ConfirmedMessageMovesToTopAndIsNeverListedTwice) {
    TForm2& form = Create("[meldungen]\r\na=0\r\nb=1\r\nc=2\r\n");
    Type("c");
    PressOk();
    EXPECT_EQ(form.ComboBox2->Items(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(History(), (Lines{"c=0", "a=1", "b=2"}));
    EXPECT_EQ(Ini("Wecker", "Meldung"), "c");
}

TEST_F(AlarmDialogTest, TheTwentyFirstMessagePushesTheOldestOut) {
    TForm2& form = Create();
    for (int i = 1; i <= 21; ++i) {
        form.SetModalResult(0);
        Type("Meldung " + std::to_string(i));
        PressOk();
    }
    const auto items = form.ComboBox2->Items();
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items.front(), "Meldung 21");
    EXPECT_EQ(items.back(), "Meldung 2");
    const Lines lines = History();
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), "Meldung 21=0");
    EXPECT_EQ(lines.back(), "Meldung 2=19");
}

TEST_F(AlarmDialogTest, MessagesEqualButForCaseAreBothKept) {
    TForm2& form = Create("[meldungen]\r\nKaffee=0\r\n");
    Type("kaffee");
    PressOk();
    EXPECT_EQ(form.ComboBox2->Items(), (std::vector<std::string>{"kaffee", "Kaffee"}));
    // Keys are found without regard to case; the second travels in its value.
    EXPECT_EQ(History(), (Lines{"kaffee=0", "*1=1|Kaffee"}));
    dialog.reset();
    main.reset();
    Create();
    EXPECT_EQ(dialog->ComboBox2->Items(), (std::vector<std::string>{"kaffee", "Kaffee"}));
}

TEST_F(AlarmDialogTest, BlankMessageStoresEmptyAndStillRewritesTheHistory) {
    TForm2& form = Create("[meldungen]\r\nKaffee=0\r\nTee=1\r\n");
    // Hand-edited after the start: OK writes the list as the dialog has it.
    folder.Write("Tikkora.ini", "[meldungen]\r\nFremd=0\r\n[Wecker]\r\nMeldung=alt\r\n");
    Type("   ");
    PressOk();
    EXPECT_EQ(Ini("Wecker", "Meldung"), "");
    EXPECT_EQ(form.ComboBox2->Items(), (std::vector<std::string>{"Kaffee", "Tee"}));
    EXPECT_EQ(History(), (Lines{"Kaffee=0", "Tee=1"}));
}

TEST_F(AlarmDialogTest, MessagesAKeyCannotHoldComeBackUnchanged) {
    const std::vector<std::string> typed{
        "Tee = fertig", "[Clock]", ";Kommentar", "#7 Raute",
        "Euro \xE2\x82\xAC und \xC5\x81\xC3\xB3"
        "d\xC5\xBA",
        "\"Zitat\"", "\xE6\x97\xA5\xE6\x9C\xAC = Japan",
        // Longer than a value holds were each umlaut escaped.
        std::string(600, 'a') + std::string(600, 'o') + "\xC3\xA4 = lang", "100%"};
    TForm2& form =
        Create("[Clock]\r\nStatus=Back\r\n[meldungen]\r\nalt=0\r\n[Wecker]\r\nAktiv=1\r\n");
    for (const std::string& message : typed) {
        form.SetModalResult(0);
        Type(message);
        PressOk();
    }
    const std::vector<std::string> expected{typed.rbegin(), typed.rend()};
    std::vector<std::string> withOld = expected;
    withOld.push_back("alt");
    EXPECT_EQ(form.ComboBox2->Items(), withOld);
    // No line of the section opens a section or is a comment.
    for (const std::string& line : History()) {
        EXPECT_NE(line.front(), '[') << line;
        EXPECT_NE(line.front(), ';') << line;
    }
    EXPECT_EQ(Ini("Clock", "Status"), "Back");
    EXPECT_EQ(Ini("Wecker", "Meldung"), "100%");
    dialog.reset();
    main.reset();
    Create();
    EXPECT_EQ(dialog->ComboBox2->Items(), withOld);
    EXPECT_EQ(Ini("Clock", "Status"), "Back");
}

TEST_F(AlarmDialogTest, HugeKeyListIsReadWithoutHarm) {
    std::string settings = "[Clock]\r\nStatus=Back\r\n[meldungen]\r\n";
    for (int i = 0; i < 700; ++i) {
        settings += "Eine ziemlich lange Meldung Nr. " + std::to_string(i) + "=" +
                    std::to_string(i) + "\r\n";
    }
    settings += "[Wecker]\r\nStunde=06\r\nMinute=45\r\n";
    TForm2& form = Create(settings);
    auto items = form.ComboBox2->Items();
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items[0], "Eine ziemlich lange Meldung Nr. 0");
    EXPECT_EQ(items[19], "Eine ziemlich lange Meldung Nr. 19");
    Show();
    Type("neu");
    PressOk();
    const Lines lines = History();
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "neu=0");
    EXPECT_EQ(lines[19], "Eine ziemlich lange Meldung Nr. 18=19");
    EXPECT_EQ(Ini("Clock", "Status"), "Back");
    EXPECT_EQ(Ini("Wecker", "Stunde"), "06");
}

TEST_F(AlarmDialogTest, ClearingTheHistoryAsksFirst) {
    TForm2& form = Create("[meldungen]\r\nKaffee=0\r\nTee=1\r\n");
    const std::string before = folder.Read("Tikkora.ini");
    Type("Tippen");
    answer = IDNO;
    SendMessageW(form.Button3->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Soll die Liste der zuletzt benutzeten Meldungen wirklich gelöscht werden?");
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(form.ComboBox2->Items().size(), 2u);
    EXPECT_EQ(form.ComboBox2->Text(), "Tippen");
    EXPECT_EQ(folder.Read("Tikkora.ini"), before);

    answer = IDYES;
    SendMessageW(form.Button3->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, "Die Liste wurde gelöscht.");
    EXPECT_EQ(boxes[2].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_TRUE(form.ComboBox2->Items().empty());
    EXPECT_EQ(form.ComboBox2->Text(), "");
    EXPECT_TRUE(History().empty());
    EXPECT_EQ(Ini("meldungen", "Kaffee"), "<none>");
}

TEST_F(AlarmDialogTest, RefusedWriteKeepsTheDialogOpen) {
    TForm2& form = Create("[Wecker]\r\nStunde=06\r\n");
    // Another program holds the file open without sharing writes.
    HANDLE lock = CreateFileW(Widen(folder.File("Tikkora.ini")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PressOk();
    CloseHandle(lock);
    EXPECT_EQ(form.ModalResult(), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to write to " + folder.File("Tikkora.ini"));
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(Ini("Wecker", "Stunde"), "06");
}

TEST_F(AlarmDialogTest, HelpButtonShowsTheControlsTopicAtItsCorner) {
    TForm2& form = Create();
    Show();
    const struct {
        HWND clicked;
        TWinControl* shownAt;
        int topic;
    } cases[] = {
        {EditOf(*form.ComboBox2), form.ComboBox2.get(), 38},
        {form.StaticText1->Handle(), form.StaticText1.get(), 31},
        {form.CheckBox2->Handle(), form.CheckBox2.get(), 37},
        {form.Button2->Handle(), form.Button2.get(), 35},
        {form.GroupBox1->Handle(), nullptr, 0},
        {form.Handle(), nullptr, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        help.clear();
        HELPINFO info{};
        info.cbSize = sizeof(info);
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = cases[i].clicked;
        // Sent to the clicked window, as the system does; it passes it up.
        SendMessageW(cases[i].clicked, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        if (!cases[i].shownAt) {
            EXPECT_TRUE(help.empty());
            continue;
        }
        RECT bounds;
        GetWindowRect(cases[i].shownAt->Handle(), &bounds);
        ASSERT_EQ(help.size(), 2u);
        EXPECT_EQ(help[0].file, "Tikora.hlp");
        EXPECT_EQ(help[0].command, static_cast<UINT>(HELP_SETPOPUP_POS));
        EXPECT_EQ(help[0].data, static_cast<ULONG_PTR>(MAKELONG(bounds.left, bounds.top)));
        EXPECT_EQ(help[1].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
        EXPECT_EQ(help[1].data, static_cast<ULONG_PTR>(cases[i].topic));
    }
}

namespace {
// Chooses the first item of the context menu that is open, from inside its loop.
HWND menuOwner = nullptr;
void CALLBACK ChooseFirstMenuItem(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageW(menuOwner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuOwner, WM_KEYDOWN, VK_RETURN, 0);
}
} // namespace

TEST_F(AlarmDialogTest, DirekthilfeShowsTheTopicOfTheControlTheMenuWasOpenedOn) {
    TForm2& form = Create();
    Show();
    ASSERT_EQ(TMainWindowProbe(*main).HelpMenu().Items.Items().size(), 1u);
    EXPECT_EQ(TMainWindowProbe(*main).HelpMenu().Items.Items()[0]->Caption, "&Direkthilfe");
    // A right click on the edit of the message box opens the control's menu.
    menuOwner = EditOf(*form.ComboBox2);
    SetTimer(nullptr, 0, 100, ChooseFirstMenuItem);
    RECT bounds;
    GetWindowRect(menuOwner, &bounds);
    SendMessageW(menuOwner, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(menuOwner),
                 MAKELPARAM(bounds.left + 5, bounds.top + 5));
    EXPECT_EQ(TMainWindowProbe(*main).HelpMenu().PopupComponent, form.ComboBox2.get());
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
    EXPECT_EQ(help[0].data, 38u);

    // A control whose tag is 0 asks for topic 0.
    help.clear();
    TMainWindowProbe(*main).HelpMenu().PopupComponent = form.GroupBox1.get();
    TMainWindowProbe(*main).HelpMenu().Items.Items()[0]->Click();
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].data, 0u);
}

namespace {
struct DialogProbe {
    HWND main = nullptr;
    HWND dialog = nullptr;
    bool mainOnTop = true;
    bool dialogShown = false;
    HWND focus = nullptr;
};
DialogProbe probe;
void CALLBACK LookAtTheOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    probe.mainOnTop = (GetWindowLongW(probe.main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    probe.dialogShown = IsWindowVisible(probe.dialog) != FALSE;
    probe.focus = GetFocus();
    PostMessageW(probe.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
} // namespace

TEST_F(AlarmDialogTest, DoubleClickOnTheDisplayOpensTheDialogBelowNoClockOnTop) {
    Create("[Clock]\r\nStatus=Top\r\n");
    ASSERT_TRUE(GetWindowLongW(main->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    for (ClockRow row : {ClockRow::Large, ClockRow::Small, ClockRow::Date}) {
        probe = DialogProbe{main->Handle(), dialog->Handle()};
        SetTimer(nullptr, 0, 100, LookAtTheOpenDialog);
        SendMessageW(TMainWindowProbe(*main).Window(row), WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(3, 3));
        EXPECT_TRUE(probe.dialogShown);
        EXPECT_FALSE(probe.mainOnTop) << "the clock gives way while the dialog is open";
        EXPECT_FALSE(dialog->Visible());
        EXPECT_TRUE(GetWindowLongW(main->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)
            << "on top again afterwards";
    }
    // The analog clock's double click too.
    probe = DialogProbe{main->Handle(), dialog->Handle()};
    SetTimer(nullptr, 0, 100, LookAtTheOpenDialog);
    SendMessageW(TMainWindowProbe(*main).Window(ClockRow::AnalogClock), WM_LBUTTONDBLCLK,
                 MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(probe.dialogShown);
}

TEST_F(AlarmDialogTest, AfterTheDialogTheClockStaysBehindWhenSoStored) {
    Create("[Clock]\r\nStatus=Back\r\n");
    probe = DialogProbe{main->Handle(), dialog->Handle()};
    SetTimer(nullptr, 0, 100, LookAtTheOpenDialog);
    TMainWindowProbe(*main).Choose("&Wecker...");
    EXPECT_TRUE(probe.dialogShown);
    EXPECT_EQ(probe.focus, dialog->DateTimePicker1->Handle()) << "the first tab stop";
    EXPECT_FALSE(GetWindowLongW(main->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}
