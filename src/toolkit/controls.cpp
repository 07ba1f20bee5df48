#include "toolkit/controls.h"
#include "toolkit/accessible_name.h"

#include "toolkit/exceptions.h"
#include "toolkit/gdi.h"
#include "toolkit/wide.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

namespace {

constexpr wchar_t kGroupBoxClass[] = L"TGroupBox";
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// A frame whose lines are thickness pixels wide, inside the rectangle.
void FrameLines(HDC dc, RECT frame, HBRUSH brush, int thickness) {
    for (int line = 0; line < thickness; ++line) {
        FrameRect(dc, &frame, brush);
        InflateRect(&frame, -1, -1);
    }
}

std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

HFONT DialogFont(int scaleFactor) {
    static std::map<int, UniqueFont> fonts;
    UniqueFont& font = fonts[scaleFactor];
    if (!font) {
        font.reset(CreateFontW(-11 * scaleFactor, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    }
    return font.get();
}

TWinControl::TWinControl(TWinControl* parent, HWND parentWindow)
    : parentWindow_(parent ? parent->Handle() : parentWindow), parent_(parent),
      scale_(parent ? parent->scale_ : TWindow::ScaleOf(parentWindow)) {
    if (parent_) {
        parent_->controls_.push_back(this);
    }
}

TWinControl::~TWinControl() {
    for (TWinControl* child : controls_) {
        child->parent_ = nullptr;
    }
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    innerHook_.reset();
    DestroyHandle();
}

void TWinControl::CreateWnd(const wchar_t* className, const std::string& text, DWORD style,
                            DWORD exStyle, int left, int top, int width, int height, int id) {
    design_ = {left, top, width, height};
    if (!CreateSubclassed(className, Widen(text), style, exStyle, scale_(design_), parentWindow_,
                          id)) {
        throw ECreationError("Das Steuerelement der Klasse " + Narrow(className) +
                             " konnte nicht erstellt werden.");
    }
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(scale_.Factor())),
                 FALSE);
}

void TWinControl::SetLayoutScale(Scale scale) {
    scale_ = scale;
    const WindowPlacement place = scale(design_);
    SetWindowPos(Handle(), nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(scale.Factor())), TRUE);
}

void TWinControl::HookInnerWindow(HWND inner) {
    if (inner && !innerHook_) {
        innerHook_ = std::make_unique<InnerWindowHook>(*this);
        innerHook_->Hook(inner);
    }
}

LRESULT TWinControl::InnerWindowHook::HookMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU && control.ContextPopup(lParam)) {
        return 0;
    }
    return CallNext(message, wParam, lParam);
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return dynamic_cast<TWinControl*>(TWindow::FromHandle(window));
}

TWinControl* TWinControl::FindControl(HWND window) {
    for (; window;
         window = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr) {
        if (TWinControl* control = FromHandle(window)) {
            return control;
        }
    }
    return nullptr;
}

bool TWinControl::Enabled() const {
    return Handle() && IsWindowEnabled(Handle());
}

void TWinControl::SetEnabled(bool enabled) {
    if (Handle()) {
        EnableWindow(Handle(), enabled ? TRUE : FALSE);
    }
}

bool TWinControl::Visible() const {
    return Handle() && IsWindowVisible(Handle());
}

RECT TWinControl::BoundsRect() const {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

std::string TWinControl::Caption() const {
    return Narrow(WindowTextOf(Handle()));
}

void TWinControl::SetCaption(const std::string& caption) {
    SetWindowTextW(Handle(), Widen(caption).c_str());
}

void TWinControl::SetFocus() {
    ::SetFocus(Handle());
}

std::wstring TWinControl::WindowClassName() const {
    wchar_t name[64] = {};
    GetClassNameW(Handle(), name, 64);
    return name;
}

bool TWinControl::ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && lParam) {
        HWND child = reinterpret_cast<HWND>(lParam);
        TWinControl* control = FromHandle(child);
        // The dialog keys send commands naming the focused window in lParam
        // with another control's id; only a control's own notifications count.
        if (control && GetDlgCtrlID(child) == LOWORD(wParam)) {
            control->Command(HIWORD(wParam));
            result = 0;
            return true;
        }
    } else if (message == WM_NOTIFY && lParam) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (TWinControl* control = FromHandle(header.hwndFrom)) {
            result = control->Notify(header);
            return true;
        }
    }
    return false;
}

bool TWinControl::ContextPopup(LPARAM point) {
    if (!PopupMenu) {
        return false;
    }
    int x = GET_X_LPARAM(point);
    int y = GET_Y_LPARAM(point);
    if (point == -1) {
        // From the keyboard: at the control's corner.
        RECT bounds;
        GetWindowRect(Handle(), &bounds);
        x = bounds.left;
        y = bounds.top;
    }
    PopupMenu->PopupComponent = this;
    PopupMenu->Popup(Handle(), x, y);
    return true;
}

LRESULT TWinControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETOBJECT:
        if (!AccessibleName.empty()) {
            if (LRESULT named = AnswerWithName(Handle(), wParam, lParam, AccessibleName)) {
                return named;
            }
        }
        break;
    case WM_CONTEXTMENU:
        if (ContextPopup(lParam)) {
            return 0;
        }
        break;
    case WM_ENABLE: {
        LRESULT result = DefaultHandler(message, wParam, lParam);
        EnabledChanged();
        return result;
    }
    default:
        break;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

TButton::TButton(TWinControl* parent, HWND parentWindow, const std::string& caption, int left,
                 int top, int width, int height, int id, bool isDefault)
    : TWinControl(parent, parentWindow) {
    CreateWnd(L"BUTTON", caption,
              kChildStyle | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, left,
              top, width, height, id);
}

void TButton::Click() {
    if (OnClick) {
        OnClick();
    }
}

void TButton::Command(WORD code) {
    if (code == BN_CLICKED) {
        Click();
    }
}

TStaticText::TStaticText(TWinControl* parent, HWND parentWindow, const std::string& caption,
                         int left, int top, int width, int height, int id)
    : TWinControl(parent, parentWindow) {
    // SS_NOTIFY: the text takes mouse clicks, so it has a context menu and help.
    CreateWnd(L"STATIC", caption, kChildStyle | SS_LEFT | SS_NOTIFY, 0, left, top, width, height,
              id);
}

TCheckBox::TCheckBox(TWinControl* parent, HWND parentWindow, const std::string& caption, int left,
                     int top, int width, int height, int id)
    : TWinControl(parent, parentWindow) {
    CreateWnd(L"BUTTON", caption, kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX, 0, left, top, width,
              height, id);
}

bool TCheckBox::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::Command(WORD code) {
    if (code == BN_CLICKED && OnClick) {
        OnClick();
    }
}

TComboBox::TComboBox(TWinControl* parent, HWND parentWindow, TComboBoxStyle style, int left,
                     int top, int width, int height, int id, int dropDownCount)
    : TWinControl(parent, parentWindow), fieldHeight_(height) {
    const DWORD kind =
        style == TComboBoxStyle::DropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    // The window's height at creation is that of the dropped-down list too.
    const int itemHeight = 13;
    CreateWnd(L"COMBOBOX", "", kChildStyle | WS_TABSTOP | WS_VSCROLL | kind, 0, left, top, width,
              height + dropDownCount * itemHeight + 2, id);
    SetFieldHeight();
    SendMessageW(Handle(), CB_SETMINVISIBLE, static_cast<WPARAM>(dropDownCount), 0);
    if (style == TComboBoxStyle::DropDown) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(Handle(), &info)) {
            HookInnerWindow(info.hwndItem);
        }
    }
}

void TComboBox::SetLayoutScale(Scale scale) {
    TWinControl::SetLayoutScale(scale);
    SetFieldHeight();
}

void TComboBox::SetFieldHeight() {
    // The closed field is as high as the layout says; its frame stays 6 pixels.
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                 LayoutScale()(fieldHeight_) - 6);
}

std::vector<std::string> TComboBox::Items() const {
    std::vector<std::string> items;
    const auto count = SendMessageW(Handle(), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        items.push_back(Narrow(text));
    }
    return items;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    const std::wstring text = WindowTextOf(Handle());
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        AddItem(item);
    }
    SetWindowTextW(Handle(), text.c_str());
}

void TComboBox::AddItem(const std::string& item) {
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void TComboBox::Clear() {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    SetWindowTextW(Handle(), L"");
}

int TComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TComboBox::Text() const {
    return Narrow(WindowTextOf(Handle()));
}

void TComboBox::SetText(const std::string& text) {
    SetWindowTextW(Handle(), Widen(text).c_str());
}

void TComboBox::SetMaxLength(int length) {
    SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TComboBox::Command(WORD code) {
    if (code == CBN_SELCHANGE && OnClick) {
        OnClick();
    }
}

TDateTimePicker::TDateTimePicker(TWinControl* parent, HWND parentWindow, int left, int top,
                                 int width, int height, int id)
    : TWinControl(parent, parentWindow) {
    CreateWnd(DATETIMEPICK_CLASSW, "", kChildStyle | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0,
              left, top, width, height, id);
}

void TDateTimePicker::SetFormat(const std::string& format) {
    const std::wstring wide = Widen(format);
    SendMessageW(Handle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

SYSTEMTIME TDateTimePicker::DateTime() const {
    SYSTEMTIME time{};
    SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& time) {
    settingTime_ = true;
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    settingTime_ = false;
}

LRESULT TDateTimePicker::Notify(const NMHDR& header) {
    if (header.code == DTN_DATETIMECHANGE && !settingTime_ && OnChange) {
        OnChange();
    }
    return 0;
}

TGroupBox::TGroupBox(TWinControl* parent, HWND parentWindow, const std::string& caption, int left,
                     int top, int width, int height, int id)
    : TWinControl(parent, parentWindow) {
    // Made and subclassed like the system controls, so it is handled as one of them.
    RegisterWindowClassOnce({kGroupBoxClass, CS_HREDRAW | CS_VREDRAW, true, false,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
                            DefWindowProcW);
    // WS_EX_CONTROLPARENT: the Tab key walks through the children.
    CreateWnd(kGroupBoxClass, caption, kChildStyle | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, left,
              top, width, height, id);
}

LRESULT TGroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // A label to the dialog keys: Alt and its letter go to the first field inside.
        return DLGC_STATIC;
    case WM_COMMAND:
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (ReflectNotification(message, wParam, lParam, result)) {
            return result;
        }
        break;
    }
    case WM_SETTEXT: {
        LRESULT result = TWinControl::HandleMessage(message, wParam, lParam);
        InvalidateRect(Handle(), nullptr, TRUE);
        return result;
    }
    default:
        break;
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

TGroupBox::CaptionLayout TGroupBox::Layout(HDC dc) const {
    CaptionLayout layout;
    RECT client;
    GetClientRect(Handle(), &client);
    SIZE zero{};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    const int h = zero.cy;
    layout.frame = RECT{0, h / 2, client.right, client.bottom};
    layout.text = WindowTextOf(Handle());
    layout.flags = DT_SINGLELINE;
    const bool rightToLeft = (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    if (rightToLeft) {
        layout.flags |= DT_RTLREADING | DT_RIGHT;
    }
    const Scale scale = LayoutScale();
    layout.blank = layout.text.empty() ? 0 : scale(1);
    SIZE extent{};
    GetTextExtentPoint32W(dc, layout.text.c_str(), static_cast<int>(layout.text.size()), &extent);
    const int indent = scale(7);
    if (rightToLeft) {
        layout.caption = RECT{layout.frame.right - extent.cx - indent, 0,
                              layout.frame.right - indent - 2 * layout.blank, h};
    } else {
        layout.caption = RECT{indent, 0, indent + extent.cx + 2 * layout.blank, h};
    }
    return layout;
}

void TGroupBox::PaintClient(HDC dc, const RECT& /*area*/) {
    PaintClassic(dc);
}

void TGroupBox::PaintClassic(HDC dc) {
    const int f = LayoutScale().Factor();
    SelectGuard font(dc, DialogFont(f));
    CaptionLayout layout = Layout(dc);
    ExcludeClipRect(dc, layout.caption.left, layout.caption.top, layout.caption.right,
                    layout.caption.bottom);
    RECT frame = layout.frame;
    if (Ctl3D) {
        frame.left += f;
        frame.top += f;
        FrameLines(dc, frame, GetSysColorBrush(COLOR_BTNHIGHLIGHT), f);
        OffsetRect(&frame, -f, -f);
        FrameLines(dc, frame, GetSysColorBrush(COLOR_BTNSHADOW), f);
    } else {
        FrameLines(dc, frame, GetSysColorBrush(COLOR_WINDOWFRAME), f);
    }
    SelectClipRgn(dc, nullptr);
    if (layout.text.empty()) {
        return;
    }
    RECT caption = layout.caption;
    caption.left += layout.blank;
    DrawTextW(dc, layout.text.c_str(), -1, &caption, layout.flags | DT_CALCRECT);
    SetBkMode(dc, TRANSPARENT);
    if (!Enabled()) {
        OffsetRect(&caption, f, f);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, layout.text.c_str(), -1, &caption, layout.flags);
        OffsetRect(&caption, -f, -f);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    DrawTextW(dc, layout.text.c_str(), -1, &caption, layout.flags);
}
