// The clock window's desktop styles (standard and mini), the analog mode and
// always-on-top.
#include "app/window_styles.h"

#include "app/clock_menu.h"
#include "app/display_styles.h"
#include "settings/program_objects.h"
#include "settings/settings_file.h"
#include "toolkit/form.h"
#include "rules/placement.h"
#include "rules/window_layout.h"
#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/string_rules.h"

#include <utility>
#include <vector>

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

} // namespace

TWindowStyles::TWindowStyles(Links links)
    : window_(links.window), application_(links.application), layout_(links.layout),
      objects_(links.objects), Standard1(links.menu.Standard1), Mini1(links.menu.Mini1),
      Taskleiste1(links.menu.Taskleiste1), Analoguhr1(links.menu.Analoguhr1),
      ImmerimVordergrund1(links.menu.ImmerimVordergrund1), displayStyles_(links.displayStyles) {
    // Set once: a window made anew by the timer's own tick keeps it.
    Timer1.OnTimer = [this](TTimer*) { Timer1Timer(); };
}

HWND TWindowStyles::BoxOwner() const {
    return InTaskbar() ? application_.Handle() : window_.Handle();
}

void TWindowStyles::SetFrame(bool dialogFrame) {
    HWND window = window_.Handle();
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

TWindowStyles::StoredPlace TWindowStyles::ReturnToDesktop(TMenuItem& styleItem, ClockStyle style,
                                                          bool analog) {
    styleItem.SetChecked(true);
    Timer1.SetEnabled(false);

    if (GetAncestor(window_.Handle(), GA_PARENT) != GetDesktopWindow()) {
        SetParent(window_.Handle(), GetDesktopWindow());
    }
    SetFrame(true);
    if (layout_.LayOut(style, analog, dpiScale_)) {
        Rescaled();
    }

    // Between the desktop styles the window stays where the user put it; the
    // stored place counts at the start and coming out of the taskbar. Read
    // while the window still has the previous style's size.
    StoredPlace place{window_.Left(), window_.Top(), false};
    if (std::exchange(placeFromSettings_, false)) {
        const int left = objects_.settings->ReadInteger(
            "Clock", "UhrposX", DefaultWindowLeft(GetSystemMetrics(SM_CXSCREEN), window_.Width()));
        const int top = objects_.settings->ReadInteger("Clock", "UhrposY", 0);
        window_.SetPosition(left, top);
        PullOnScreen();
        place = {left, top, window_.Left() != left || window_.Top() != top};
    }

    if (ImmerimVordergrund1.Checked()) {
        OnTopAgain();
    }
    return place;
}

void TWindowStyles::SizeForDesktop(bool mini, const StoredPlace& place) {
    const WindowSize size = DesktopWindowSize(mini, Analoguhr1.Checked(), layout_.CurrentScale());
    window_.SetBounds(window_.Left(), window_.Top(), size.width, size.height);
    if (place.pulledOnScreen) {
        window_.SetPosition(place.left, place.top);
        PullOnScreen();
    }
    // The grip has as many dots as the style shows; the system draws only
    // what the new size uncovered.
    InvalidateRect(window_.Handle(), nullptr, TRUE);
}

void TWindowStyles::Standard() {
    const StoredPlace place =
        ReturnToDesktop(Standard1, ClockStyle::Standard, Analoguhr1.Checked());

    Analoguhr1.Enabled = true;
    SizeForDesktop(false, place);

    // Drawn (and the alarm checked) before the style is stored, as a tick would.
    displayStyles_.Apply(nullptr);
    objects_.settings->WriteString("Clock", "Style", "Standard");
}

void TWindowStyles::Mini() {
    ShowMini(Mini1);
    objects_.settings->WriteString("Clock", "Style", "Mini");
}

void TWindowStyles::ShowMini(TMenuItem& styleItem) {
    const StoredPlace place = ReturnToDesktop(styleItem, ClockStyle::Mini, Analoguhr1.Checked());

    Analoguhr1.Enabled = true;
    SizeForDesktop(true, place);
    displayStyles_.Apply(nullptr);
}

void TWindowStyles::ToggleAnalog() {
    const bool analog = !Analoguhr1.Checked();
    layout_.SwitchAnalog(analog, Mini1.Checked() ? ClockStyle::Mini : ClockStyle::Standard);
    Analoguhr1.SetChecked(analog);
    if (Mini1.Checked()) {
        Mini();
    }
    objects_.settings->WriteBool("Clock", "Analog", Analoguhr1.Checked());
}

void TWindowStyles::ToggleOnTop() {
    // Inside the taskbar the window is a child and has no place in the
    // desktop's z-order; the stored state takes effect when it leaves.
    const bool onDesktop = !InTaskbar();
    if (ImmerimVordergrund1.Checked()) {
        if (onDesktop) {
            SetStayOnTop(false);
        }
        ImmerimVordergrund1.SetChecked(false);
        objects_.settings->WriteString("Clock", "Status", "Back");
    } else {
        if (onDesktop) {
            SetStayOnTop(true);
            BringWindowToTop(window_.Handle());
        }
        ImmerimVordergrund1.SetChecked(true);
        objects_.settings->WriteString("Clock", "Status", "Top");
    }
}

void TWindowStyles::OnTopAgain() {
    if (LowerAscii(objects_.settings->ReadString("Clock", "Status", "top")) == "top" &&
        !InTaskbar()) {
        GoOnTop();
    }
}

void TWindowStyles::PullOnScreen() {
    RECT bounds = window_.BoundsRect();
    ScreenArea desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    WindowPlace place{bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top};
    WindowPlace pulled = PullOntoNearestMonitor(PullOntoScreen(place, desktop), Monitors());
    if (pulled.left != place.left || pulled.top != place.top) {
        window_.SetPosition(pulled.left, pulled.top);
    }
}

void TWindowStyles::GoOnTop() {
    if (!IsWindowVisible(window_.Handle())) {
        // Not shown yet (the start): a window in front of nothing needs no
        // round through normal, and once on top and active it stays so until
        // it is shown. Each step costs the window system a round of work.
        if (!(GetWindowLongW(window_.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)) {
            SetStayOnTop(true);
        }
        if (GetActiveWindow() != window_.Handle()) {
            BringWindowToTop(window_.Handle());
        }
        return;
    }
    // Normal first, so the window is put on top afresh even if it was already.
    SetStayOnTop(false);
    SetStayOnTop(true);
    BringWindowToTop(window_.Handle());
}

void TWindowStyles::SetStayOnTop(bool onTop) {
    HWND window = window_.Handle();
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (!onTop && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // Some window managers keep an owned window on top while its owner
        // pins it there; without the owner for a moment the change takes.
        HWND owner = GetWindow(window, GW_OWNER);
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
}

void TWindowStyles::Rescaled() {
    displayStyles_.Apply(nullptr);
    InvalidateRect(window_.Handle(), nullptr, TRUE);
}

void TWindowStyles::DpiChanged(int dpi, const RECT& suggested) {
    dpiScale_ = Scale::ForDpi(dpi);
    if (InTaskbar()) {
        // There the taskbar's monitor and clock area set the factor, at the
        // timer's next check; this one is the desktop's, for leaving.
        return;
    }
    if (layout_.ScaleTo(dpiScale_)) {
        Rescaled();
    }
    const WindowSize size =
        DesktopWindowSize(Mini1.Checked(), Analoguhr1.Checked(), layout_.CurrentScale());
    window_.SetBounds(suggested.left, suggested.top, size.width, size.height);
    PullOnScreen();
}
