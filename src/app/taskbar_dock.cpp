// The taskbar style: the clock as a child of the taskbar's clock area, or of
// a taskbar without one over its clock's place, kept fitted to it by a timer,
// and the mini window while there is no taskbar.
#include "app/clock_menu.h"
#include "app/taskbar_host.h"
#include "app/window_styles.h"
#include "rules/window_layout.h"
#include "settings/program_objects.h"
#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/panel.h"
#include "toolkit/seams.h"

namespace {

constexpr char kNoTrayClockText[] =
    "Die Uhr kann auf diesem System nicht in die Taskleiste gesetzt werden, weil die Taskleiste "
    "keinen Uhrbereich hat.";

// Where the clock is: its window's centre, or before it is shown (at the
// start) the centre of the place stored for it; the taskbar of that monitor
// takes it.
POINT ClockCentre(const TForm& window, const TSettingsFile& settings) {
    RECT r{};
    GetWindowRect(window.Handle(), &r);
    if (!IsWindowVisible(window.Handle())) {
        OffsetRect(&r, settings.ReadInteger("Clock", "UhrposX", r.left) - r.left,
                   settings.ReadInteger("Clock", "UhrposY", r.top) - r.top);
    }
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Over the taskbar's face, which the shell may raise above its other
// children; a child in front of its siblings rises and hides with the taskbar.
void KeepInFront(HWND window, HWND host) {
    if (GetWindow(host, GW_CHILD) != window) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

} // namespace

void TWindowStyles::Taskbar(bool byUser) {
    // Looked up before anything changes: without the taskbar's clock the
    // style cannot be entered, and the clock must stay where the user sees it.
    HWND trayClock = FindTaskbarHost(ClockCentre(window_, *objects_.settings));
    if (!TaskbarHostUsable(trayClock)) {
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

    const RECT area = ClockAreaIn(TrayClockWindow);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (layout_.LayOut(ClockStyle::Taskbar, false,
                       TaskbarScale(TaskbarMonitorScale(TrayClockWindow), width, height))) {
        Rescaled();
    }
    layout_.FillTray(width, height);
    window_.SetBounds(area.left, area.top, width, height);

    // A window inside another must be a child window, or it would not move
    // and clip with the taskbar.
    DWORD style = static_cast<DWORD>(GetWindowLongW(window_.Handle(), GWL_STYLE));
    SetWindowLongW(window_.Handle(), GWL_STYLE, static_cast<LONG>((style & ~WS_POPUP) | WS_CHILD));
    if (!SetParent(window_.Handle(), TrayClockWindow)) {
        // The taskbar went away in between.
        WaitForTaskbar();
        return;
    }
    KeepInFront(window_.Handle(), TrayClockWindow);

    Taskleiste1.SetChecked(true);
    Timer1.SetEnabled(true);
    objects_.settings->WriteString("Clock", "Style", "Taskbar");
    window_.Show();
}

void TWindowStyles::Timer1Timer() {
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
    if (!TaskbarHostUsable(TrayClockWindow)) {
        if (TaskbarHostUsable(FindTaskbarHost(ClockCentre(window_, *objects_.settings)))) {
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
    const RECT area = ClockAreaIn(TrayClockWindow);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const bool rescaled =
        layout_.ScaleTo(TaskbarScale(TaskbarMonitorScale(TrayClockWindow), width, height));
    if (rescaled) {
        Rescaled();
    }
    const TrayFit fit = FitToTrayClock(width, height, layout_.SmallRowWidth(),
                                       layout_.SmallRowHeight(), layout_.CurrentScale());
    const bool moved = window_.Left() != area.left || window_.Top() != area.top;
    if (fit.refit || rescaled || moved) {
        // Resized in place; the window stays the taskbar's child, where its
        // position is relative to its host.
        layout_.FitToTray(fit);
        window_.SetBounds(area.left, area.top, fit.window.width, fit.window.height);
    }
    KeepInFront(window_.Handle(), TrayClockWindow);
    layout_.RepaintSmallRow();
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
