#include "app/form1.h"

#include "rules/display_plan.h"
#include "rules/placement.h"
#include "rules/program_folder.h"
#include "settings/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"

#include <windowsx.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

TForm1* Form1 = nullptr;

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    return Guarded<BOOL>(FALSE, [&] {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(monitor, &info)) {
            auto area = [](const RECT& r) {
                return ScreenArea{r.left, r.top, r.right - r.left, r.bottom - r.top};
            };
            reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
                {area(info.rcMonitor), area(info.rcWork)});
        }
        return TRUE;
    });
}

std::vector<MonitorArea> Monitors() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

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
                    [this] { return InTaskbar() ? application_.Handle() : Handle(); },
                    [this] { return application_.Title(); }, [this] { alarmdisplay("", ""); }}),
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
    case WM_DPICHANGED:
        DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
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
    layoutScale_ = 1;
    dpiScale_ = WindowScaleFactor(window);
    Panel1 = std::make_unique<TPanel>(window, 19, 6, 123, 51, TBevel::Lowered);
    HWND large = Panel1->Handle();
    CreateLargeCells(*Panel1);

    AMClock1 = std::make_unique<TAMClock>(large, 2, 2, 47, 47);
    AMClock1->SetAutoCenter(false);
    ScaleClockHands();
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
    if (!Timer1.OnTimer) {
        // Set once: a window made anew by the timer's own tick keeps it.
        Timer1.OnTimer = [this](TTimer*) { Timer1Timer(); };
    }
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
        GoOnTop();
        ImmerimVordergrund1.SetChecked(true);
    } else {
        SetStayOnTop(false);
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

void TForm1::checkpos() {
    RECT bounds = BoundsRect();
    ScreenArea desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    WindowPlace place{bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top};
    WindowPlace pulled = PullOntoNearestMonitor(PullOntoScreen(place, desktop), Monitors());
    if (pulled.left != place.left || pulled.top != place.top) {
        SetPosition(pulled.left, pulled.top);
    }
}

void TForm1::GoOnTop() {
    if (!IsWindowVisible(Handle())) {
        // Not shown yet (the start): a window in front of nothing needs no
        // round through normal, and once on top and active it stays so until
        // it is shown. Each step costs the window system a round of work.
        if (!(GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)) {
            SetStayOnTop(true);
        }
        if (GetActiveWindow() != Handle()) {
            BringWindowToTop(Handle());
        }
        return;
    }
    // Normal first, so the window is put on top afresh even if it was already.
    SetStayOnTop(false);
    SetStayOnTop(true);
    BringWindowToTop(Handle());
}

void TForm1::SetStayOnTop(bool onTop) {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(Handle(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (!onTop && (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // Some window managers keep an owned window on top while its owner
        // pins it there; without the owner for a moment the change takes.
        HWND owner = GetWindow(Handle(), GW_OWNER);
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
        SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
}
