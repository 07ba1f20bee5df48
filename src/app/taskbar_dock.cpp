// The taskbar style: the clock as a child of the taskbar's clock area, kept
// fitted to it by a timer, and the mini window while there is none.
#include "app/clock_menu.h"
#include "app/window_styles.h"
#include "rules/window_layout.h"
#include "settings/program_objects.h"
#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/form.h"
#include "toolkit/panel.h"
#include "toolkit/seams.h"

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

// The scale of the monitor the taskbar lies on, whichever screen the clock
// came from; asked at every fit, so a change of that monitor's DPI shows.
Scale TaskbarMonitorScale(HWND trayClock) {
    return Scale::ForDpi(MonitorDpiOfWindow(trayClock));
}

} // namespace

void TWindowStyles::Taskbar(bool byUser) {
    // Looked up before anything changes: without the taskbar's clock the
    // style cannot be entered, and the clock must stay where the user sees it.
    HWND trayClock = FindTrayClockWindow();
    if (!TrayClockUsable(trayClock)) {
        if (byUser) {
            seams::ShowMessageBox(BoxOwner(), kNoTrayClockText, "Tikkora",
                                  MB_OK | MB_ICONINFORMATION);
        } else {
            WaitForTaskbar();
        }
        return;
    }

    window_.Hide();
    if (Analoguhr1.Checked()) {
        ToggleAnalog();
    }
    // Coming back from waiting for the taskbar, the mini layout is there
    // already and "Mini" must not be stored over the user's choice.
    if (!Mini1.Checked() && !waitingForTaskbar_) {
        Mini();
    }
    waitingForTaskbar_ = false;

    SetStayOnTop(false);
    Analoguhr1.Enabled = false;
    TrayClockWindow = trayClock;

    objects_.settings->WriteInteger("Clock", "UhrposX", window_.Left());
    objects_.settings->WriteInteger("Clock", "UhrposY", window_.Top());
    placeFromSettings_ = true;

    window_.SetPosition(0, 0);
    SetFrame(false);

    RECT area{};
    GetClientRect(TrayClockWindow, &area);
    if (layout_.LayOut(
            ClockStyle::Taskbar, false,
            TaskbarScale(TaskbarMonitorScale(TrayClockWindow), area.right, area.bottom))) {
        Rescaled();
    }
    layout_.FillTray(area.right, area.bottom);
    window_.SetBounds(0, 0, area.right, area.bottom);

    // A window inside another must be a child window, or it would not move
    // and clip with the taskbar.
    DWORD style = static_cast<DWORD>(GetWindowLongW(window_.Handle(), GWL_STYLE));
    SetWindowLongW(window_.Handle(), GWL_STYLE, static_cast<LONG>((style & ~WS_POPUP) | WS_CHILD));
    if (!SetParent(window_.Handle(), TrayClockWindow)) {
        // The taskbar went away in between.
        WaitForTaskbar();
        return;
    }

    Taskleiste1.SetChecked(true);
    Timer1.SetEnabled(true);
    objects_.settings->WriteString("Clock", "Style", "Taskbar");
    window_.Show();
}

void TWindowStyles::FitToTaskbar() {
    if (!Taskleiste1.Checked()) {
        return;
    }
    if (!window_.Handle()) {
        // A taskbar that closes takes its child windows along, this one too.
        // Made anew, the window applies the stored settings as at start-up:
        // back into a new taskbar, or the mini window while there is none.
        TrayClockWindow = nullptr;
        try {
            window_.CreateHandle();
        } catch (...) {
            // A clock without a window is a process nobody can end.
            ReportCurrentException();
            application_.Terminate(kNoMainWindowExitCode);
            return;
        }
        window_.Show();
        return;
    }
    if (!IsWindow(TrayClockWindow) || !TrayClockUsable(TrayClockWindow)) {
        if (TrayClockUsable(FindTrayClockWindow())) {
            // The shell is back (or was restarted, or its clock area grew) with
            // a clock area the clock fits in.
            Taskbar(false);
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
    const bool rescaled = layout_.ScaleTo(
        TaskbarScale(TaskbarMonitorScale(TrayClockWindow), area.right, area.bottom));
    if (rescaled) {
        Rescaled();
    }
    const TrayFit fit = FitToTrayClock(area.right, area.bottom, layout_.SmallRowWidth(),
                                       layout_.SmallRowHeight(), layout_.CurrentScale());
    if (fit.refit || rescaled) {
        // Resized in place; the window stays the tray clock's child, where
        // its position is relative to the tray clock.
        layout_.FitToTray(fit);
        window_.SetBounds(window_.Left(), window_.Top(), fit.window.width, fit.window.height);
    }
    InvalidateRect(layout_.SmallRow().Handle(), nullptr, FALSE);
}

void TWindowStyles::WaitForTaskbar() {
    // The taskbar style stays the chosen one, in the menu and in the file;
    // the timer goes on looking for a clock area to return to.
    TrayClockWindow = nullptr;
    waitingForTaskbar_ = true;
    // Out of sight until it is the mini window: coming out of the taskbar it
    // would show for a moment with the taskbar's size at the screen's corner.
    window_.Hide();
    ShowMini(Taskleiste1);
    Analoguhr1.Enabled = false;
    Timer1.SetEnabled(true);
    window_.Show();
}
