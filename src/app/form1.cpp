#include "app/form1.h"

#include "rules/display_plan.h"
#include "rules/program_folder.h"
#include "settings/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"

#include <windowsx.h>

TForm1* Form1 = nullptr;

namespace {

FormDesign MainWindowDesign() {
    FormDesign design;
    design.className = L"TForm1";
    design.left = 289;
    design.top = 95;
    design.clientWidth = 638;
    design.clientHeight = 59;
    design.borderStyle = TBorderStyle::Dialog;
    design.stayOnTop = true;
    design.keyPreview = true;
    return design;
}

} // namespace

TForm1::TForm1(TApplication& application)
    : TForm(application, MainWindowDesign()),
      AlarmRunner1({// Inside the taskbar the clock is a child of the taskbar, and a
                    // box it owned would disable the whole taskbar while it is open.
                    [this] { return WindowStyles1.InTaskbar() ? application_.Handle() : Handle(); },
                    [this] { return application_.Title(); }, [this] { alarmdisplay("", ""); }}),
      WindowStyles1({*this, application, *this, *this, Panel1, Panel2, Panel3, Panel4, AMClock1,
                     [this] { AMClock1Second(nullptr, 0); }, [this] { LCD1Click(nullptr); },
                     [this](int from, int to) { RescaleLayout(from, to); }}),
      helpRouter_(application, PopupMenu2, [this] { return Handle(); }) {
    Form1 = this;
    // Bound once: a window made anew keeps the same menu.
    BindMenuCommands();
    BindPowerWatch();
    application_.OnHelp = [this](UINT command, ULONG_PTR data) {
        return helpRouter_.ApplicationHelp(command, data);
    };
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
    application_.OnHelp = nullptr;
    if (SettingsFile == settingsFile_.get()) {
        SettingsFile = nullptr;
    }
    if (GlyphBitmap == glyphBitmap_.get()) {
        GlyphBitmap = nullptr;
    }
    // The clock's timer goes before the panels it draws on.
    AMClock1.reset();
}

void TForm1::CreateParams(CreateParamsInfo& params) {
    TForm::CreateParams(params);
    // A dialog frame without the title bar.
    params.style |= WS_POPUP;
    params.style &= ~static_cast<DWORD>(WS_DLGFRAME);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        // The bare background drags the window like a title bar would.
        LRESULT hit = DefaultHandler(message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_CONTEXTMENU: {
        // The bare background and the grip; children without a menu of their
        // own pass theirs up to here.
        int x = GET_X_LPARAM(lParam);
        int y = GET_Y_LPARAM(lParam);
        if (lParam == -1) {
            x = Left();
            y = Top() + Height();
        }
        ShowContextMenu(x, y);
        return 0;
    }
    case WM_HELP: {
        // F1 in the open menu: the highlighted item's topic.
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info && info->iContextType == HELPINFO_MENUITEM) {
            if (TMenuItem* item = PopupMenu1.ShownItem(static_cast<UINT>(info->iCtrlId));
                item && item->HelpContext != 0) {
                application_.HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(item->HelpContext));
            }
            return TRUE;
        }
        break;
    }
    case WM_ENDSESSION:
        // The end of the Windows session closes the clock as any close
        // request does, a transfer under way included.
        if (wParam) {
            Close();
        }
        return 0;
    case WM_GETOBJECT:
        return AnswerReader(Handle(), wParam, lParam);
    case WM_DESTROY:
        ReaderWindowDestroyed();
        break;
    case WM_DPICHANGED:
        WindowStyles1.DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        // A monitor may have gone away or shrunk under the clock.
        checkpos();
        break;
    default:
        break;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

void TForm1::CreateComponents() {
    HWND window = Handle();
    // Made at the 96-DPI places; the style handlers lay them out at the
    // monitor's factor.
    WindowStyles1.StartAtMonitorScale(WindowScaleFactor(window));
    Panel1 = std::make_unique<TPanel>(window, 19, 6, 123, 51, TBevel::Lowered);
    HWND large = Panel1->Handle();
    CreateLargeCells(*Panel1);

    AMClock1 = std::make_unique<TAMClock>(large, 2, 2, 47, 47);
    AMClock1->SetAutoCenter(false);
    ScaleClockHands(1);
    for (THand* hand :
         {&AMClock1->HoursHand(), &AMClock1->MinutesHand(), &AMClock1->SecondsHand()}) {
        hand->SetBackRadius(0);
        hand->SetColor(clBlack);
    }
    AMClock1->SetTransparentColor(clGray);
    AMClock1->SetTransparent(true);
    AMClock1->SetVisible(false);
    AMClock1->OnSecond = [this](TAMClock* sender, std::uint16_t second) {
        AMClock1Second(sender, second);
    };
    AMClock1->OnMinute = [this](TAMClock* sender, std::uint16_t minute) {
        AMClock1Minute(sender, minute);
    };

    Panel4 = std::make_unique<TPanel>(large, 58, 34, 59, 15, TBevel::None);
    CreateDateCells(*Panel4);

    Panel3 = std::make_unique<TPanel>(window, 20, 39, 56, 17, TBevel::None);
    SetWindowPos(Panel3->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CreateSmallCells(*Panel3);

    LoadStrips();
    AMClock1->Loaded();
    BindCommands();

    Panel2 = std::make_unique<TPanel>(window, 1, 46, 17, 12, TBevel::None);
    BindContextMenu();
    NoTask1 = std::make_unique<TNoTask>(this);
    NoTask1->Loaded();
}

void TForm1::FormCreate() {
    ProgramFolder = FolderOfProgramFile(seams::ProgramFilePath());
    glyphBitmap_ = std::make_unique<TBitmap>();
    GlyphBitmap = glyphBitmap_.get();
    settingsFile_ = std::make_unique<TSettingsFile>(ProgramFolder + "Tikkora.ini");
    SettingsFile = settingsFile_.get();
    // The steps below and the handlers they call read the same keys again and
    // again within a few milliseconds; each comes from the file once. Writes
    // still reach the file at once.
    const TSettingsFile::HeldReads heldReads = settingsFile_->HoldReads();

    BeiOnlineverbindungautomatischsuchen1.SetChecked(
        SettingsFile->ReadBool("OnlineUpdate", "Auto", true));

    // Checked as the opposite of the stored mode, so that the toggle applies and stores it.
    Analoguhr1.SetChecked(!SettingsFile->ReadBool("Clock", "Analog", false));
    Analoguhr1Click(nullptr);

    AMClock1Minute(nullptr, 0);

    if (LowerAscii(SettingsFile->ReadString("Clock", "Status", "top")) == "top") {
        WindowStyles1.GoOnTop();
        ImmerimVordergrund1.SetChecked(true);
    } else {
        WindowStyles1.SetStayOnTop(false);
        ImmerimVordergrund1.SetChecked(false);
    }

    // A value that names no style leaves the design-time mark in force.
    if (const DisplayStyle* style =
            FindStyleBySettingsValue(SettingsFile->ReadString("Clock", "Display", "LCD"))) {
        StyleItem(style->styleIndex)->SetChecked(true);
    }
    LCD1Click(nullptr);

    // Every style handler places the window from the stored position itself,
    // and nothing in between looks at the place of the hidden window; only a
    // stored style that names none leaves the placing to this step.
    const std::string storedStyle =
        LowerAscii(SettingsFile->ReadString("Clock", "Style", "standard"));
    if (storedStyle != "standard" && storedStyle != "mini" && storedStyle != "taskbar") {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int left = SettingsFile->ReadInteger("Clock", "UhrposX", screenWidth - Width());
        const int top = SettingsFile->ReadInteger("Clock", "UhrposY", 0);
        SetPosition(left, top);
        checkpos();
    }

    // Each test reads the key afresh: the style handlers store their own name.
    if (LowerAscii(SettingsFile->ReadString("Clock", "Style", "standard")) == "standard") {
        Standard1Click(nullptr);
    }
    if (LowerAscii(SettingsFile->ReadString("Clock", "Style", "standard")) == "mini") {
        Mini1Click(nullptr);
    }
    if (LowerAscii(SettingsFile->ReadString("Clock", "Style", "taskbar")) == "taskbar") {
        Taskleiste1Click(nullptr);
    }

    if (HCURSOR hand = LoadCursorW(nullptr, IDC_HAND)) {
        application_.SetCursor(crHandPoint, hand);
    }
}

void TForm1::FormShow() {
    // The hidden application window must stay hidden, or it would bring a taskbar button.
    ShowWindow(application_.Handle(), SW_HIDE);
}

void TForm1::FormKeyDown(WORD& key) {
    if (key == VK_F1) {
        application_.HelpCommand(HELP_CONTENTS, 0);
    }
}

void TForm1::FormClose() {
    // No tick may draw or reach the settings after they are released.
    if (AMClock1) {
        AMClock1->SetEnabled(false);
    }
    if (application_.HelpWasOpened()) {
        application_.HelpCommand(HELP_QUIT, 0);
    }
    if (SettingsFile && !Taskleiste1.Checked()) {
        try {
            SettingsFile->WriteInteger("Clock", "UhrposX", Left());
            SettingsFile->WriteInteger("Clock", "UhrposY", Top());
        } catch (const EIniFileException& failure) {
            // Tell the user, but never keep the clock from closing over it.
            application_.HandleException(failure);
        }
    }
    SettingsFile = nullptr;
    settingsFile_.reset();
    GlyphBitmap = nullptr;
    glyphBitmap_.reset();
}

// The window styles' handlers of the menu, and what the window and the
// dialogs ask of them.
void TForm1::Standard1Click(TMenuItem* /*sender*/) {
    WindowStyles1.Standard();
}

void TForm1::Mini1Click(TMenuItem* /*sender*/) {
    WindowStyles1.Mini();
}

void TForm1::Taskleiste1Click(TMenuItem* sender) {
    WindowStyles1.Taskbar(sender != nullptr);
}

void TForm1::Analoguhr1Click(TMenuItem* /*sender*/) {
    WindowStyles1.ToggleAnalog();
}

void TForm1::ImmerimVordergrund1Click(TMenuItem* /*sender*/) {
    WindowStyles1.ToggleOnTop();
}

void TForm1::Timer1Timer() {
    WindowStyles1.FitToTaskbar();
}

void TForm1::topset() {
    WindowStyles1.OnTopAgain();
}

void TForm1::checkpos() {
    WindowStyles1.PullOnScreen();
}
