#include "app/form1.h"

#include "analogclock/amclock.h"
#include "app/alarm_runner.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/clock_menu.h"
#include "app/display_styles.h"
#include "app/help_router.h"
#include "app/power_watch.h"
#include "app/window_styles.h"
#include "controls/notask.h"
#include "controls/xpcontrols.h"
#include "rules/display_plan.h"
#include "rules/program_folder.h"
#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls.h"
#include "toolkit/dpi.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"
#include "toolkit/timer.h"

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
    : TForm(application, MainWindowDesign()), application_(application),
      menu_(std::make_unique<TClockMenu>()), display_(std::make_unique<TClockDisplay>(objects_)),
      layout_(std::make_unique<TClockLayout>(*display_)),
      AlarmRunner1(std::make_unique<TAlarmRunner>(
          objects_,
          TAlarmRunner::Links{[this] { return WindowStyles1->BoxOwner(); },
                              [this] { return application_.Title(); },
                              [&styles = displayStyles_] { styles->ShowAlarm("", ""); }})),
      displayStyles_(std::make_unique<TDisplayStyles>(
          TDisplayStyles::Links{*this, *menu_, *display_, *layout_, *AlarmRunner1, objects_})),
      WindowStyles1(std::make_unique<TWindowStyles>(
          TWindowStyles::Links{*this, application, *menu_, *layout_, objects_, *displayStyles_})),
      Direckthilfe1(std::make_unique<TMenuItem>("&Direkthilfe")),
      PopupMenu2(std::make_unique<TControlPopupMenu>()),
      helpRouter_(std::make_unique<THelpRouter>(application, objects_, *PopupMenu2,
                                                [this] { return WindowStyles1->BoxOwner(); })),
      PowerWatch1(std::make_unique<TPowerWatch>()), Timer2(std::make_unique<TTimer>(30000, true)) {
    Form1 = this;
    // Bound once: a window made anew keeps the same menu.
    BindMenuCommands();
    BindPowerWatch();
    application_.OnHelp = [this](UINT command, ULONG_PTR data) {
        return helpRouter_->ApplicationHelp(command, data);
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
    layout_->Destroy();
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
            // From the keyboard: below the clock, on the screen also where
            // the clock sits in the taskbar.
            RECT onScreen{};
            GetWindowRect(Handle(), &onScreen);
            x = onScreen.left;
            y = onScreen.bottom;
        }
        ShowContextMenu(x, y);
        return 0;
    }
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
        // A right click on the bare background, which answers as a caption:
        // Windows follows the release with WM_CONTEXTMENU, Wine with nothing
        // (it keeps the release for its system menu), so the menu opens here
        // for both, and the system's own handling is left out.
        if (wParam == HTCAPTION) {
            if (message == WM_NCRBUTTONUP) {
                ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            }
            return 0;
        }
        break;
    case WM_HELP: {
        // F1 in the open menu: the highlighted item's topic.
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info && info->iContextType == HELPINFO_MENUITEM) {
            if (TMenuItem* item = menu_->PopupMenu1.ShownItem(static_cast<UINT>(info->iCtrlId));
                item && item->HelpContext != 0) {
                application_.HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(item->HelpContext));
            }
            return TRUE;
        }
        break;
    }
    case WM_GETOBJECT:
        return display_->AnswerReader(Handle(), wParam, lParam);
    case WM_DESTROY:
        display_->ReaderWindowDestroyed();
        break;
    case WM_DPICHANGED:
        WindowStyles1->DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
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
    // monitor's scale.
    WindowStyles1->StartAtMonitorScale(WindowScale(window));
    layout_->CreateRows(window);
    TAMClock& clock = layout_->AnalogClock();
    clock.OnSecond = [this](TAMClock* sender, std::uint16_t second) {
        AMClock1Second(sender, second);
    };
    clock.OnMinute = [this](TAMClock* sender, std::uint16_t minute) {
        AMClock1Minute(sender, minute);
    };
    BindComponents();
    layout_->CreateMenuButton(window, menu_->PopupMenu1);
    // Behind the same guard as the right click, and owned by the clock's own
    // window, also where that is a child of the taskbar.
    layout_->OnContextMenu([this](int x, int y) { ShowContextMenu(x, y); });
    NoTask1 = std::make_unique<TNoTask>(this);
    NoTask1->Loaded();
}

void TForm1::FormCreate() {
    ProgramFolder = FolderOfProgramFile(seams::ProgramFilePath());
    glyphBitmap_ = std::make_unique<TBitmap>();
    GlyphBitmap = glyphBitmap_.get();
    settingsFile_ = std::make_unique<TSettingsFile>(ProgramFolder + "Tikkora.ini");
    SettingsFile = settingsFile_.get();
    TSettingsFile& settings = *settingsFile_;
    // The steps below and the handlers they call read the same keys again and
    // again within a few milliseconds; each comes from the file once. Writes
    // still reach the file at once.
    const TSettingsFile::HeldReads heldReads = settingsFile_->HoldReads();
    // A refused write (a read-only file, a folder the user may not write to)
    // must not leave a half-made window: the steps are carried through and
    // the refusal is told once at their end.
    const TSettingsFile::DeferredWriteFailures refusals = settingsFile_->DeferWriteFailures();

    menu_->BeiOnlineverbindungautomatischsuchen1.SetChecked(
        settings.ReadBool("OnlineUpdate", "Auto", true));

    // Checked as the opposite of the stored mode, so that the toggle applies and stores it.
    menu_->Analoguhr1.SetChecked(!settings.ReadBool("Clock", "Analog", false));
    Analoguhr1Click(nullptr);

    AMClock1Minute(nullptr, 0);

    if (LowerAscii(settings.ReadString("Clock", "Status", "top")) == "top") {
        WindowStyles1->GoOnTop();
        menu_->ImmerimVordergrund1.SetChecked(true);
    } else {
        WindowStyles1->SetStayOnTop(false);
        menu_->ImmerimVordergrund1.SetChecked(false);
    }

    // A value that names no style leaves the design-time mark in force.
    displayStyles_->MarkStored(settings.ReadString("Clock", "Display", "LCD"));
    LCD1Click(nullptr);

    // One handler for the style read once: each stores its own name, which
    // keeps the others from running, but where that write was refused a
    // second reading would find a missing key still missing. Every style
    // handler places the window from the stored position itself; only a
    // stored style that names none leaves the placing to this step.
    const std::string storedStyle = LowerAscii(settings.ReadString("Clock", "Style", "standard"));
    if (storedStyle == "standard") {
        Standard1Click(nullptr);
    } else if (storedStyle == "mini") {
        Mini1Click(nullptr);
    } else if (storedStyle == "taskbar") {
        Taskleiste1Click(nullptr);
    } else {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int left = settings.ReadInteger("Clock", "UhrposX", screenWidth - Width());
        const int top = settings.ReadInteger("Clock", "UhrposY", 0);
        SetPosition(left, top);
        checkpos();
    }

    if (HCURSOR hand = LoadCursorW(nullptr, IDC_HAND)) {
        application_.SetCursor(crHandPoint, hand);
    }
    refusals.ThrowFirst();
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
    if (application_.HelpWasOpened()) {
        application_.HelpCommand(HELP_QUIT, 0);
    }
    if (objects_.settings && !menu_->Taskleiste1.Checked()) {
        try {
            objects_.settings->WriteInteger("Clock", "UhrposX", Left());
            objects_.settings->WriteInteger("Clock", "UhrposY", Top());
        } catch (const EIniFileException& failure) {
            // Tell the user, but never keep the clock from closing over it.
            application_.HandleException(failure);
        }
    }
    // The window's life ends before the settings go, and with it every way
    // into the parts that use them: the window itself, its menu and every
    // message to it, and what runs beside it (the clock's ticks, the taskbar's
    // watch, which would make the window anew, the update check).
    if (layout_->Created()) {
        layout_->AnalogClock().SetEnabled(false);
    }
    WindowStyles1->StopTaskbarWatch();
    Timer2->SetEnabled(false);
    DestroyHandle();
    SettingsFile = nullptr;
    settingsFile_.reset();
    GlyphBitmap = nullptr;
    glyphBitmap_.reset();
}

// The window styles' handlers of the menu, and what the window and the
// dialogs ask of them.
void TForm1::Standard1Click(TMenuItem* /*sender*/) {
    WindowStyles1->Standard();
}

void TForm1::Mini1Click(TMenuItem* /*sender*/) {
    WindowStyles1->Mini();
}

void TForm1::Taskleiste1Click(TMenuItem* sender) {
    WindowStyles1->Taskbar(sender != nullptr);
}

void TForm1::Analoguhr1Click(TMenuItem* /*sender*/) {
    WindowStyles1->ToggleAnalog();
}

void TForm1::ImmerimVordergrund1Click(TMenuItem* /*sender*/) {
    WindowStyles1->ToggleOnTop();
}

void TForm1::topset() {
    // After a dialog or a box, inside which the window may have closed (the
    // end of the session): a window that is gone goes on top of nothing.
    if (Handle()) {
        WindowStyles1->OnTopAgain();
    }
}

void TForm1::checkpos() {
    WindowStyles1->PullOnScreen();
}
