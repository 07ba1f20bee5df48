// The clock window's window styles (standard, mini, taskbar), the analog
// mode, always-on-top, and the timer that keeps the taskbar window fitted to
// the taskbar's clock area.
#include "app/form1.h"
#include "settings/program_objects.h"
#include "rules/window_layout.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/string_rules.h"

namespace {

constexpr char kNoTrayClockText[] =
    "Die Uhr kann auf diesem System nicht in die Taskleiste gesetzt werden, weil die Taskleiste "
    "keinen Uhrbereich hat.";

// The taskbar's clock: "TrayClockWClass" in "TrayNotifyWnd" in the first
// top-level "Shell_TrayWnd" with an empty title. Null where the taskbar has
// no such clock (Windows 11, or a shell of another kind).
HWND FindTrayClockWindow() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", L"");
    HWND notify = tray ? FindWindowExW(tray, nullptr, L"traynotifywnd", L"") : nullptr;
    return notify ? FindWindowExW(notify, nullptr, L"trayclockwclass", nullptr) : nullptr;
}

// A clock area that is hidden, or too small for the hours and minutes, is
// as good as none: a clock placed there could not be seen.
bool TrayClockUsable(HWND trayClock) {
    RECT area{};
    return trayClock && GetClientRect(trayClock, &area) &&
           TrayClockAreaUsable(IsWindowVisible(trayClock) != FALSE, area.right, area.bottom);
}

RECT PanelBounds(const TPanel& panel) {
    return panel.Bounds();
}

void MovePanel(TPanel& panel, int left, int top) {
    RECT b = PanelBounds(panel);
    panel.SetBounds(left, top, b.right - b.left, b.bottom - b.top);
}

void ResizePanel(TPanel& panel, int width, int height) {
    RECT b = PanelBounds(panel);
    panel.SetBounds(b.left, b.top, width, height);
}

int PanelWidth(const TPanel& panel) {
    RECT b = PanelBounds(panel);
    return b.right - b.left;
}

int PanelHeight(const TPanel& panel) {
    RECT b = PanelBounds(panel);
    return b.bottom - b.top;
}

} // namespace

void TForm1::SetFrame(bool dialogFrame) {
    HWND window = Handle();
    const DWORD frameStyles = WS_BORDER | WS_SYSMENU | WS_DLGFRAME;
    const DWORD frameExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    const DWORD oldStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD oldExStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    DWORD style = oldStyle;
    DWORD exStyle = oldExStyle;
    style &= ~(frameStyles | WS_CHILD);
    exStyle &= ~frameExStyles;
    style |= WS_POPUP;
    if (dialogFrame) {
        style |= WS_BORDER | WS_SYSMENU;
        exStyle |= frameExStyles;
    }
    const bool ownerLost = dialogFrame && GetWindow(window, GW_OWNER) != application_.Handle();
    if (style == oldStyle && exStyle == oldExStyle && !ownerLost) {
        // Already so (the start in a desktop style): a frame change would only
        // cost the window system a round of recalculating and repainting.
        return;
    }
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    if (ownerLost) {
        // Back from the taskbar the window has lost its owner; an unowned
        // popup would get a taskbar button of its own.
        SetWindowLongPtrW(window, GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(application_.Handle()));
    }
    // The outer size stays; the client area gives or takes the frame.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TForm1::StoredPlace TForm1::ReturnToDesktop(TMenuItem& styleItem) {
    styleItem.SetChecked(true);
    Timer1.SetEnabled(false);

    if (GetAncestor(Handle(), GA_PARENT) != GetDesktopWindow()) {
        SetParent(Handle(), GetDesktopWindow());
    }
    SetFrame(true);
    LayOutAtScale(dpiScale_);

    SetSmallCellTop(S(kSmallCellTop));
    ShowSeconds(true);
    ResizePanel(*Panel3, S(kSmallRowWidth), PanelHeight(*Panel3));

    // Read while the window still has the previous style's size.
    const int left = SettingsFile->ReadInteger(
        "Clock", "UhrposX", DefaultWindowLeft(GetSystemMetrics(SM_CXSCREEN), Width()));
    const int top = SettingsFile->ReadInteger("Clock", "UhrposY", 0);
    SetPosition(left, top);
    checkpos();
    const StoredPlace place{left, top, Left() != left || Top() != top};

    if (ImmerimVordergrund1.Checked()) {
        topset();
    }
    return place;
}

void TForm1::PullOnScreenForNewSize(const StoredPlace& place) {
    if (place.pulledOnScreen) {
        SetPosition(place.left, place.top);
        checkpos();
    }
}

void TForm1::Standard1Click(TMenuItem* /*sender*/) {
    const StoredPlace place = ReturnToDesktop(Standard1);

    Analoguhr1.Enabled = true;
    Panel1->SetVisible(true);
    ResizePanel(*Panel1, S(kLargeRowWidth), PanelHeight(*Panel1));
    Panel3->SetBevelInner(TBevel::None);

    if (!AMClock1->Visible()) {
        const PanelPlace& row = S(kAlarmLineUnderDigits);
        Panel3->SetBounds(row.left, row.top, PanelWidth(*Panel3), row.height);
    } else {
        MovePanel(*Panel3, S(kAlarmLineBesideClockLeft), S(kAlarmLineBesideClockTopEntered));
    }

    Panel3->SetVisible(true);
    MovePanel(*Panel2, PanelBounds(*Panel2).left, S(kMenuButtonTopTall));
    const WindowSize size = DesktopWindowSize(false, Analoguhr1.Checked(), layoutScale_);
    SetBounds(Left(), Top(), size.width, size.height);
    PullOnScreenForNewSize(place);

    AMClock1Second(nullptr, 0);
    SettingsFile->WriteString("Clock", "Style", "Standard");
    LCD1Click(nullptr);
}

void TForm1::Mini1Click(TMenuItem* /*sender*/) {
    ShowMini(Mini1);
    SettingsFile->WriteString("Clock", "Style", "Mini");
}

void TForm1::ShowMini(TMenuItem& styleItem) {
    const StoredPlace place = ReturnToDesktop(styleItem);

    Analoguhr1.Enabled = true;
    const WindowSize size = DesktopWindowSize(true, Analoguhr1.Checked(), layoutScale_);
    if (Analoguhr1.Checked()) {
        Panel1->SetVisible(true);
        ResizePanel(*Panel1, S(kLargeRowWidthMini), PanelHeight(*Panel1));
        SetBounds(Left(), Top(), size.width, size.height);
        PullOnScreenForNewSize(place);
        MovePanel(*Panel2, PanelBounds(*Panel2).left, S(kMenuButtonTopTall));
        LCD1Click(nullptr);
    } else {
        Panel3->SetVisible(true);
        Panel1->SetVisible(false);
        Panel3->SetBevelInner(TBevel::Lowered);
        const PanelPlace& row = S(kMiniTimeRow);
        Panel3->SetBounds(row.left, row.top, PanelWidth(*Panel3), row.height);
        MovePanel(*Panel2, PanelBounds(*Panel2).left, S(kMenuButtonTopLow));
        SetBounds(Left(), Top(), size.width, size.height);
        PullOnScreenForNewSize(place);
        LCD1Click(nullptr);
        AMClock1Second(nullptr, 0);
    }
}

void TForm1::Taskleiste1Click(TMenuItem* sender) {
    // Looked up before anything changes: without the taskbar's clock the
    // style cannot be entered, and the clock must stay where the user sees it.
    HWND trayClock = FindTrayClockWindow();
    if (!TrayClockUsable(trayClock)) {
        if (sender) {
            seams::ShowMessageBox(Handle(), kNoTrayClockText, "Tikkora",
                                  MB_OK | MB_ICONINFORMATION);
        } else {
            WaitForTaskbar();
        }
        return;
    }

    Hide();
    if (Analoguhr1.Checked()) {
        Analoguhr1Click(nullptr);
    }
    // Coming back from waiting for the taskbar, the mini layout is there
    // already and "Mini" must not be stored over the user's choice.
    if (!Mini1.Checked() && !waitingForTaskbar_) {
        Mini1Click(nullptr);
    }
    waitingForTaskbar_ = false;

    SetStayOnTop(false);
    Analoguhr1.Enabled = false;
    TrayClockWindow = trayClock;

    SettingsFile->WriteInteger("Clock", "UhrposX", Left());
    SettingsFile->WriteInteger("Clock", "UhrposY", Top());

    Panel3->SetVisible(true);
    MovePanel(*Panel3, 0, 0);
    Panel3->SetBevelInner(TBevel::None);
    SetPosition(0, 0);
    SetFrame(false);

    RECT area{};
    GetClientRect(TrayClockWindow, &area);
    LayOutAtScale(TaskbarScaleFactor(dpiScale_, area.right, area.bottom));
    Panel3->SetBounds(0, 0, area.right, area.bottom);
    SetBounds(0, 0, area.right, area.bottom);

    // A window inside another must be a child window, or it would not move
    // and clip with the taskbar.
    DWORD style = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE));
    SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>((style & ~WS_POPUP) | WS_CHILD));
    if (!SetParent(Handle(), TrayClockWindow)) {
        // The taskbar went away in between.
        WaitForTaskbar();
        return;
    }

    ShowSeconds(SmallRowShowsSeconds(PanelWidth(*Panel3), layoutScale_));

    Taskleiste1.SetChecked(true);
    Timer1.SetEnabled(true);
    SettingsFile->WriteString("Clock", "Style", "Taskbar");
    Show();
}

void TForm1::Timer1Timer() {
    if (!Taskleiste1.Checked()) {
        return;
    }
    if (!Handle()) {
        // A taskbar that closes takes its child windows along, this one too.
        // Made anew, the window applies the stored settings as at start-up:
        // back into a new taskbar, or the mini window while there is none.
        TrayClockWindow = nullptr;
        try {
            CreateHandle();
        } catch (...) {
            // A clock without a window is a process nobody can end.
            ReportCurrentException();
            application_.Terminate(kNoMainWindowExitCode);
            return;
        }
        Show();
        return;
    }
    if (!IsWindow(TrayClockWindow) || !TrayClockUsable(TrayClockWindow)) {
        if (TrayClockUsable(FindTrayClockWindow())) {
            // The shell is back (or was restarted, or its clock area grew) with
            // a clock area the clock fits in.
            Taskleiste1Click(nullptr);
        } else if (!waitingForTaskbar_) {
            // The taskbar was closed and took its clock along, or its clock
            // area was emptied or hidden: the clock stays in sight meanwhile
            // rather than vanish.
            WaitForTaskbar();
        }
        return;
    }
    RECT area{};
    GetClientRect(TrayClockWindow, &area);
    const bool rescaled = LayOutAtScale(TaskbarScaleFactor(dpiScale_, area.right, area.bottom));
    const TrayFit fit = FitToTrayClock(area.right, area.bottom, PanelWidth(*Panel3),
                                       PanelHeight(*Panel3), layoutScale_);
    if (fit.refit || rescaled) {
        // Resized in place; the window stays the tray clock's child, where
        // its position is relative to the tray clock.
        Panel3->SetBounds(fit.row.left, area.top, fit.row.width, fit.row.height);
        SetBounds(Left(), Top(), fit.window.width, fit.window.height);
        SetSmallCellTop(fit.cellTop);
        ShowSeconds(fit.seconds);
    }
    InvalidateRect(Panel3->Handle(), nullptr, FALSE);
}

void TForm1::WaitForTaskbar() {
    // The taskbar style stays the chosen one, in the menu and in the file;
    // the timer goes on looking for a clock area to return to.
    TrayClockWindow = nullptr;
    waitingForTaskbar_ = true;
    // Out of sight until it is the mini window: coming out of the taskbar it
    // would show for a moment with the taskbar's size at the screen's corner.
    Hide();
    ShowMini(Taskleiste1);
    Analoguhr1.Enabled = false;
    Timer1.SetEnabled(true);
    Show();
}

void TForm1::Analoguhr1Click(TMenuItem* /*sender*/) {
    if (Analoguhr1.Checked()) {
        SetLargeDigitsVisible(true);
        Panel3->SetVisible(true);
        if (!Mini1.Checked()) {
            const PanelPlace& row = S(kAlarmLineUnderDigits);
            Panel3->SetBounds(row.left, row.top, PanelWidth(*Panel3), row.height);
        }
        MovePanel(*Panel4, PanelBounds(*Panel4).left, S(kDateRowTopDigital));
        AMClock1->SetVisible(false);
        Analoguhr1.SetChecked(false);
    } else {
        SetLargeDigitsVisible(false);
        if (!Mini1.Checked()) {
            MovePanel(*Panel3, S(kAlarmLineBesideClockLeft), S(kAlarmLineBesideClockTopSwitched));
        } else {
            Panel3->SetVisible(false);
        }
        MovePanel(*Panel4, PanelBounds(*Panel4).left, S(kDateRowTopAnalog));
        AMClock1->SetVisible(true);
        Analoguhr1.SetChecked(true);
    }
    if (Mini1.Checked()) {
        Mini1Click(nullptr);
    }
    SettingsFile->WriteBool("Clock", "Analog", Analoguhr1.Checked());
}

void TForm1::ImmerimVordergrund1Click(TMenuItem* /*sender*/) {
    // Inside the taskbar the window is a child and has no place in the
    // desktop's z-order; the stored state takes effect when it leaves.
    const bool onDesktop = !InTaskbar();
    if (ImmerimVordergrund1.Checked()) {
        if (onDesktop) {
            SetStayOnTop(false);
        }
        ImmerimVordergrund1.SetChecked(false);
        SettingsFile->WriteString("Clock", "Status", "Back");
    } else {
        if (onDesktop) {
            SetStayOnTop(true);
            BringWindowToTop(Handle());
        }
        ImmerimVordergrund1.SetChecked(true);
        SettingsFile->WriteString("Clock", "Status", "Top");
    }
}

void TForm1::topset() {
    if (SettingsFile && LowerAscii(SettingsFile->ReadString("Clock", "Status", "top")) == "top" &&
        !InTaskbar()) {
        GoOnTop();
    }
}
