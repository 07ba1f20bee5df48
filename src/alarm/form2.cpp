#include "alarm/form2.h"

#include "rules/message_history.h"
#include "rules/sound_list.h"
#include "rules/alarm_check.h"
#include "rules/profile_values.h"
#include "settings/alarm_settings.h"
#include "settings/program_objects.h"
#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/gdi.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"
#include "toolkit/wide.h"

#include <commctrl.h>

#include <cstdio>

TForm2* Form2 = nullptr;

namespace {

constexpr char kAlarmSection[] = "Wecker";
constexpr char kHistorySection[] = "meldungen";
constexpr char kCaption[] = "Weckzeit: ";
// What the alarm check reads back of "Meldung" whole.
constexpr int kLongestMessage = 2047;

// Control ids; OK and Abbrechen carry the ids the dialog keys send.
enum ControlId {
    kButton1 = IDOK,
    kButton2 = IDCANCEL,
    kGroupBox1 = 100,
    kCheckBox2,
    kStaticText3,
    kComboBox1,
    kStaticText2,
    kComboBox2,
    kButton3,
    kCheckBox1,
    kStaticText1,
    kDateTimePicker1,
};

FormDesign AlarmDialogDesign() {
    FormDesign design;
    design.className = L"TForm2";
    design.caption = kCaption;
    design.clientWidth = 324;
    design.clientHeight = 307;
    design.borderStyle = TBorderStyle::Dialog;
    design.dialogKeys = true;
    design.scalesWithDpi = true;
    return design;
}

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02d", value % 100);
    return text;
}

// The hourglass for the whole screen while it lives.
class WaitCursor {
  public:
    WaitCursor() : previous_(::SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ::SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }

  private:
    HCURSOR previous_;
};

} // namespace

TForm2::TForm2(TApplication& application, AlarmDialogLinks links)
    : TForm(application, AlarmDialogDesign()), application_(application), links_(std::move(links)) {
    Form2 = this;
}

TForm2::~TForm2() {
    if (Form2 == this) {
        Form2 = nullptr;
    }
}

void TForm2::Describe(TWinControl& control, int help, int tabOrder) {
    control.Tag = help;
    control.HelpContext = help;
    control.TabOrder = tabOrder;
    control.PopupMenu = links_.contextMenu;
}

void TForm2::CreateParams(CreateParamsInfo& params) {
    TForm::CreateParams(params);
    // The help button in the caption; a dialog frame has no minimise or
    // maximise boxes that would hide it.
    params.exStyle |= WS_EX_CONTEXTHELP;
    params.x = (GetSystemMetrics(SM_CXSCREEN) - params.width) / 2;
    params.y = (GetSystemMetrics(SM_CYSCREEN) - params.height) / 2;
}

void TForm2::CreateComponents() {
    HWND window = Handle();
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(LayoutScale().Factor())),
                 FALSE);

    // Made in tab order, which is the order a reader of the dialog sees it
    // in: across each row, top to bottom. A label comes right before the
    // control its mnemonic leads to, as labels take no part in the tab
    // sequence, and names that control for a screen reader.
    StaticText1 =
        std::make_unique<TStaticText>(nullptr, window, "&Weckzeit:", 127, 23, 52, 17, kStaticText1);
    Describe(*StaticText1, 31, 0);
    DateTimePicker1 =
        std::make_unique<TDateTimePicker>(nullptr, window, 181, 19, 61, 22, kDateTimePicker1);
    Describe(*DateTimePicker1, 31, 1);
    DateTimePicker1->OnChange = [this] { DateTimePicker1Change(); };
    CheckBox1 =
        std::make_unique<TXPCheckBox>(nullptr, window, "&Aktiviert", 249, 22, 62, 16, kCheckBox1);
    Describe(*CheckBox1, 33, 2);
    CheckBox1->SetChecked(true);

    GroupBox1 =
        std::make_unique<TXPGroupBox>(nullptr, window, "&Optionen", 17, 55, 293, 211, kGroupBox1);
    Describe(*GroupBox1, 0, 3);
    TWinControl* group = GroupBox1.get();
    StaticText2 =
        std::make_unique<TStaticText>(group, nullptr, "&Meldung:", 29, 29, 46, 17, kStaticText2);
    Describe(*StaticText2, 38, 0);
    ComboBox2 = std::make_unique<TComboBox>(group, nullptr, TComboBoxStyle::DropDown, 78, 26, 190,
                                            21, kComboBox2, 20);
    Describe(*ComboBox2, 38, 1);
    ComboBox2->SetMaxLength(kLongestMessage);
    Button3 = std::make_unique<TButton>(group, nullptr, "Alte Meldungen &löschen", 78, 54, 140, 21,
                                        kButton3);
    Describe(*Button3, 39, 2);
    Button3->OnClick = [this] { Button3Click(); };
    StaticText3 =
        std::make_unique<TStaticText>(group, nullptr, "Weck&sound:", 12, 116, 63, 17, kStaticText3);
    Describe(*StaticText3, 36, 3);
    ComboBox1 = std::make_unique<TComboBox>(group, nullptr, TComboBoxStyle::DropDownList, 78, 113,
                                            190, 21, kComboBox1);
    Describe(*ComboBox1, 36, 4);
    ComboBox1->OnClick = [this] { ComboBox1Click(); };
    CheckBox2 = std::make_unique<TXPCheckBox>(group, nullptr, "&Nach dem Wecken Alarm deativieren",
                                              78, 180, 201, 13, kCheckBox2);
    Describe(*CheckBox2, 37, 5);

    Button1 = std::make_unique<TButton>(nullptr, window, "OK", 153, 276, 76, 23, kButton1, true);
    Describe(*Button1, 34, 4);
    Button1->OnClick = [this] { Button1Click(); };
    Button2 = std::make_unique<TButton>(nullptr, window, "Abbrechen", 233, 276, 76, 23, kButton2);
    Describe(*Button2, 35, 5);
    Button2->OnClick = [this] { Button2Click(); };
    DefaultButton = Button1.get();
    CancelButton = Button2.get();

    // The system's own object finds the label of an edit field only.
    for (auto [field, label] :
         {std::pair<TWinControl*, TWinControl*>{DateTimePicker1.get(), StaticText1.get()},
          {ComboBox2.get(), StaticText2.get()},
          {ComboBox1.get(), StaticText3.get()}}) {
        field->AccessibleName = LabelName(label->Caption());
    }
}

void TForm2::FormCreate() {
    DateTimePicker1->SetFormat("H:mm");
    if (!links_.objects.settings) {
        return;
    }
    // A list that filled the read buffer may end in a cut name; and the list
    // never holds more than its limit, even when the file was edited by hand.
    std::vector<std::string> keys =
        WholeKeyNames(links_.objects.settings->ReadSection(kHistorySection), kProfileKeyListBuffer);
    if (keys.size() > kMessageHistoryLimit) {
        keys.resize(kMessageHistoryLimit);
    }
    std::vector<std::string> history;
    for (const std::string& key : keys) {
        history.push_back(
            HistoryEntry(key, links_.objects.settings->ReadString(kHistorySection, key, "")));
    }
    ComboBox2->SetItems(history);
}

void TForm2::FormShow() {
    if (!links_.objects.settings) {
        return;
    }
    // A stored time that is no time is reported, but the rest is still read:
    // otherwise OK would store an empty sound and the defaults of the boxes
    // over the user's settings.
    // Read as the clock rings it: a file without "Aktiv" holds no alarm that is on.
    const StoredAlarm alarm = ReadStoredAlarm(*links_.objects.settings);
    // No alarm was ever set: one set now is meant to ring.
    const bool neverSet = links_.objects.settings->ReadSection(kAlarmSection).empty();
    std::exception_ptr failure;
    try {
        ShowStoredTime(alarm);
    } catch (const EConvertError&) {
        failure = std::current_exception();
    }
    CheckBox1->SetChecked(alarm.on || neverSet);
    CheckBox2->SetChecked(alarm.oneShot);
    FillSoundList(alarm.sound);
    if (!shownBefore_) {
        // Later showings keep what the field held; an empty field on the
        // first one would make OK store an empty message over the user's.
        ComboBox2->SetText(alarm.message);
        shownBefore_ = true;
    }
    if (failure) {
        application_.HandleException(failure);
    }
}

void TForm2::ShowStoredTime(const StoredAlarm& alarm) {
    if (alarm.time.empty()) {
        throw EConvertError("'" + alarm.hour + ":" + alarm.minute +
                            "' is not a valid date and time");
    }
    // "hh:nn"; the picker keeps its date.
    SYSTEMTIME picked = DateTimePicker1->DateTime();
    picked.wHour = static_cast<WORD>(std::stoi(alarm.time.substr(0, 2)));
    picked.wMinute = static_cast<WORD>(std::stoi(alarm.time.substr(3, 2)));
    picked.wSecond = 0;
    picked.wMilliseconds = 0;
    DateTimePicker1->SetDateTime(picked);
}

void TForm2::FillSoundList(const std::string& stored) {
    ComboBox1->Clear();
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(links_.objects.folder + "*.wav").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        UniqueHandle<HANDLE, FindHandleDeleter> owner(search);
        do {
            names.push_back(Narrow(found.cFileName));
        } while (FindNextFileW(search, &found));
    }
    for (const std::string& name : names) {
        ComboBox1->AddItem(name);
    }
    const std::optional<std::size_t> index = FindSoundEntry(names, stored);
    ComboBox1->SetItemIndex(index ? static_cast<int>(*index) : -1);
}

void TForm2::DateTimePicker1Change() {
    const SYSTEMTIME picked = DateTimePicker1->DateTime();
    SetWindowTextW(
        Handle(),
        Widen(kCaption + std::to_string(picked.wHour) + ":" + TwoDigits(picked.wMinute)).c_str());
}

void TForm2::ComboBox1Click() {
    const std::string name = ComboBox1->Text();
    // The entries are bare names found in the program's folder; a path that
    // does not fit the platform's buffer gets the default sound.
    if (std::optional<std::string> path = AlarmSoundPath(links_.objects.folder, name)) {
        seams::PlaySoundFile(*path);
    } else {
        seams::PlayDefaultSound();
    }
}

std::string TForm2::PickedHour() const {
    return TwoDigits(DateTimePicker1->DateTime().wHour);
}

std::string TForm2::PickedMinute() const {
    return TwoDigits(DateTimePicker1->DateTime().wMinute);
}

void TForm2::Button1Click() {
    if (!links_.objects.settings) {
        return;
    }
    const std::string hour = PickedHour();
    const std::string minute = PickedMinute();
    links_.objects.settings->WriteString(kAlarmSection, "Stunde", hour);
    links_.objects.settings->WriteString(kAlarmSection, "Minute", minute);
    links_.objects.settings->WriteString(kAlarmSection, "Sound", ComboBox1->Text());
    links_.objects.settings->WriteBool(kAlarmSection, "Aktiv", CheckBox1->Checked());
    links_.objects.settings->WriteBool(kAlarmSection, "AktivMode", CheckBox2->Checked());
    const std::string typed = ComboBox2->Text();
    links_.objects.settings->WriteString(kAlarmSection, "Meldung", Trim(typed));

    std::vector<std::string> history = ComboBox2->Items();
    const KeepsCharacter keeps = links_.objects.settings->CharacterTest();
    if (RememberMessage(history, typed, keeps)) {
        ComboBox2->SetItems(history);
    }
    links_.objects.settings->EraseSection(kHistorySection);
    for (const HistoryLine& line : HistoryLines(history, keeps)) {
        links_.objects.settings->WriteString(kHistorySection, line.key, line.value);
    }

    if (links_.alarmLineChanged) {
        const bool on = CheckBox1->Checked();
        links_.alarmLineChanged(on ? hour : "", on ? minute : "");
    }
    SetModalResult(IDOK);
}

void TForm2::Button2Click() {
    SetModalResult(IDCANCEL);
}

void TForm2::Button3Click() {
    if (seams::ShowMessageBox(Handle(),
                              "Soll die Liste der zuletzt benutzeten Meldungen wirklich gelöscht "
                              "werden?",
                              "Tikkora", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    WaitCursor hourglass;
    ComboBox2->Clear();
    if (links_.objects.settings) {
        links_.objects.settings->EraseSection(kHistorySection);
    }
    seams::ShowMessageBox(Handle(), "Die Liste wurde gelöscht.", "Tikkora",
                          MB_OK | MB_ICONINFORMATION);
}

void TForm2::ControlHelp(HWND window) {
    for (TWinControl* control = TWinControl::FindControl(window); control;
         control = control->Parent()) {
        if (control->HelpContext != 0) {
            RECT bounds;
            GetWindowRect(control->Handle(), &bounds);
            application_.HelpCommand(
                HELP_SETPOPUP_POS, static_cast<ULONG_PTR>(MAKELONG(static_cast<WORD>(bounds.left),
                                                                   static_cast<WORD>(bounds.top))));
            application_.HelpCommand(HELP_CONTEXTPOPUP,
                                     static_cast<ULONG_PTR>(control->HelpContext));
            return;
        }
    }
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
        // As a dialog does: the control that had the focus gets it back, at
        // first the first one in the tab order.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            focused_ = focused && IsChild(Handle(), focused) ? focused : nullptr;
        } else {
            HWND target = focused_ && IsWindow(focused_) && IsWindowEnabled(focused_)
                              ? focused_
                              : GetNextDlgTabItem(Handle(), nullptr, FALSE);
            if (target) {
                SetFocus(target);
            }
            return 0;
        }
        break;
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info->iContextType == HELPINFO_WINDOW) {
            ControlHelp(static_cast<HWND>(info->hItemHandle));
        }
        return TRUE;
    }
    default:
        break;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}
