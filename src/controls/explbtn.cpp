#include "controls/explbtn.h"

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/menu.h"
#include "toolkit/wide.h"

#include <oleacc.h>
#include <windowsx.h>

namespace {

constexpr TColor kWindowTextColor = kSystemColorFlag | COLOR_WINDOWTEXT;
// Paints the brush where the source is black and leaves the target where it is white.
constexpr DWORD kDSPDxax = 0x00E20746;

const WindowClassDesign kButtonClass{L"TExplorerButton", CS_PARENTDC, true, false, nullptr};

COLORREF Plain(TColor color) {
    return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : color & 0xFFFFFF;
}

COLORREF ShadeColor(BevelShade shade) {
    return GetSysColor(shade == BevelShade::Highlight ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
}

COLORREF GreyColor(GreyLevel level) {
    switch (level) {
    case GreyLevel::White:
        return RGB(255, 255, 255);
    case GreyLevel::Highlight:
        return GetSysColor(COLOR_BTNHIGHLIGHT);
    case GreyLevel::Shadow:
        return GetSysColor(COLOR_BTNSHADOW);
    case GreyLevel::Black:
        break;
    }
    return RGB(0, 0, 0);
}

bool OldWindowsPlatform() {
    // The top bit of the version is set on the Windows 95/98 family only.
    return (GetVersion() & 0x80000000u) != 0;
}

// The character after a single "&", lower-cased; 0 when there is none.
wchar_t AcceleratorOf(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') {
            continue;
        }
        if (caption[i + 1] != L'&') {
            return static_cast<wchar_t>(
                reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(caption[i + 1]))));
        }
        ++i;
    }
    return 0;
}

void RunPendingMessages() {
    if (Application) {
        Application->ProcessMessages();
    }
}

} // namespace

TExplorerButton::TExplorerButton(HWND parent, int left, int top, int width, int height)
    : unselectedFontColor_(kWindowTextColor), fontColor_(kWindowTextColor) {
    oldWindowsText_ = OldWindowsPlatform();
    CreateWindowHandle(kButtonClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                       {left, top, width, height}, parent);
}

TExplorerButton::~TExplorerButton() {
    hintWindow_.reset();
    DestroyHandle();
}

void TExplorerButton::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint();
}

RECT TExplorerButton::BoundsRect() const {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

int TExplorerButton::Width() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.right;
}

int TExplorerButton::Height() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.bottom;
}

void TExplorerButton::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Repaint();
}

void TExplorerButton::SetAllowAllUp(bool allowAllUp) {
    allowAllUp_ = allowAllUp;
    if (groupIndex_ != 0) {
        ForEachGroupMate([allowAllUp](TExplorerButton& mate) { mate.allowAllUp_ = allowAllUp; });
    }
}

void TExplorerButton::SetBevelStyle(TBevelStyle style) {
    bevelStyle_ = style;
    Repaint();
}

void TExplorerButton::SetNoFocusBitmap(const TBitmap& bitmap) {
    noFocusBitmap_.Assign(bitmap);
    BitmapsChanged();
}

void TExplorerButton::SetBitmap(const TBitmap& bitmap) {
    bitmap_.Assign(bitmap);
    BitmapsChanged();
}

void TExplorerButton::SetDisabledBitmap(const TBitmap& bitmap) {
    disabledBitmap_.Assign(bitmap);
    if (!enabled_) {
        Repaint();
    }
}

void TExplorerButton::BitmapsChanged() {
    if (BitmapWanted()) {
        MakeMonoBitmap();
    }
    Repaint();
}

void TExplorerButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    UpdateReader();
    if (options_ & boIconOnly) {
        SetHint(StripAccelerators(caption_));
        return;
    }
    Repaint();
}

void TExplorerButton::SetGroupIndex(int groupIndex) {
    groupIndex_ = groupIndex;
    if (groupIndex_ == 0 && down_) {
        down_ = false;
        Repaint();
    }
}

void TExplorerButton::SetDown(bool down) {
    if (down == down_ || groupIndex_ == 0) {
        return;
    }
    down_ = down;
    if (down_) {
        ForEachGroupMate([](TExplorerButton& mate) {
            if (mate.down_) {
                mate.down_ = false;
                mate.Repaint();
            }
        });
    }
    Repaint();
}

void TExplorerButton::SetDropDownMenu(TPopupMenu* menu) {
    dropDownMenu_ = menu;
    if (options_ & boPopupMark) {
        Repaint();
    }
}

void TExplorerButton::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        ResetState();
        UpdateReader();
    }
}

void TExplorerButton::ResetState() {
    if (groupIndex_ == 0) {
        down_ = false;
    }
    pressed_ = false;
    mouseInside_ = false;
    Repaint();
}

void TExplorerButton::SetLayout(TButtonLayout layout) {
    if (layout != layout_) {
        layout_ = layout;
        Repaint();
    }
}

void TExplorerButton::SetOptions(TExplorerButtonOptions options) {
    options_ = options;
    const std::string stripped = StripAccelerators(caption_);
    if ((options_ & boIconOnly) && hint_.empty()) {
        SetHint(stripped);
        SetShowHint(true);
    } else if (hint_ == stripped) {
        SetHint("");
        SetShowHint(false);
    }
    Repaint();
}

void TExplorerButton::SetShadingType(TShadingType shading) {
    if (shading == shadingType_) {
        return;
    }
    shadingType_ = shading;
    if (BitmapWanted()) {
        MakeMonoBitmap();
        Repaint();
    }
}

void TExplorerButton::SetShowDownPattern(bool show) {
    if (show != showDownPattern_) {
        showDownPattern_ = show;
        Repaint();
    }
}

void TExplorerButton::SetUnselectedFontColor(TColor color) {
    if (color != unselectedFontColor_) {
        unselectedFontColor_ = color;
        Repaint();
    }
}

void TExplorerButton::SetWordWrap(bool wordWrap) {
    if (wordWrap != wordWrap_) {
        wordWrap_ = wordWrap;
        Repaint();
    }
}

void TExplorerButton::SetScale(int factor) {
    if (factor >= 1 && factor != scale_) {
        scale_ = factor;
        Repaint();
    }
}

void TExplorerButton::SetFont(HFONT font, TColor color) {
    font_ = font;
    fontColor_ = color;
    Repaint();
}

void TExplorerButton::SetHint(const std::string& hint) {
    hint_ = hint;
    SetShowHint(showHint_);
}

void TExplorerButton::SetShowHint(bool show) {
    showHint_ = show;
    if (hintWindow_) {
        hintWindow_->SetWindowHint(show ? hint_ : std::string());
    }
}

// The tooltip is made when the mouse first comes over the button, not with
// the button: it binds the common controls, which the clock's start should
// not wait for. The move that brought the mouse is handed on to it.
void TExplorerButton::PrepareHint(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hintWindow_ || !showHint_ || hint_.empty()) {
        return;
    }
    hintWindow_ = std::make_unique<TToolHint>(Handle());
    hintWindow_->SetWindowHint(hint_);
    hintWindow_->Relay(message, wParam, lParam);
}

bool TExplorerButton::Visible() const {
    return Handle() && (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE);
}

void TExplorerButton::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TExplorerButton::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

template <typename Action> void TExplorerButton::ForEachGroupMate(Action action) {
    HWND parent = GetParent(Handle());
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        auto* mate = dynamic_cast<TExplorerButton*>(TWindow::FromHandle(child));
        if (mate && mate != this && mate->groupIndex_ == groupIndex_) {
            action(*mate);
        }
    }
}

void TExplorerButton::MakeMonoBitmap() {
    monoBitmap_.Assign(bitmap_);
    HDC canvas = monoBitmap_.Canvas();
    if (!canvas) {
        return;
    }
    const COLORREF transparent = GetPixel(bitmap_.Canvas(), 0, 0);
    for (int y = 0; y < monoBitmap_.Height(); ++y) {
        for (int x = 0; x < monoBitmap_.Width(); ++x) {
            const COLORREF pixel = GetPixel(canvas, x, y);
            if (pixel != transparent) {
                SetPixel(canvas, x, y, GreyColor(GreyLevelOf(pixel, shadingType_)));
            }
        }
    }
}

HWND TExplorerButton::Form() const {
    HWND form = Handle();
    const DWORD ownProcess = GetCurrentProcessId();
    for (HWND parent = GetAncestor(form, GA_PARENT); parent && parent != GetDesktopWindow();
         parent = GetAncestor(form, GA_PARENT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(parent, &process);
        if (process != ownProcess) {
            break;
        }
        form = parent;
    }
    return form;
}

bool TExplorerButton::ParentFormActive() const {
    return GetActiveWindow() == Form();
}

void TExplorerButton::PopupAt(TPopupMenu& menu, POINT at) {
    if (OnMenuPopup) {
        OnMenuPopup(menu, at);
    } else {
        menu.Popup(Form(), at.x, at.y);
    }
}

bool TExplorerButton::CursorInside() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND parent = GetParent(Handle());
    ScreenToClient(parent, &cursor);
    const RECT bounds = BoundsRect();
    return cursor.x > bounds.left && cursor.x < bounds.right && cursor.y > bounds.top &&
           cursor.y < bounds.bottom;
}

void TExplorerButton::SetMouseInside(bool inside) {
    if (inside == mouseInside_) {
        return;
    }
    mouseInside_ = inside;
    if (!down_ && enabled_) {
        Repaint();
    }
}

void TExplorerButton::LetGoOfMouse() {
    if (GetCapture() == Handle()) {
        ReleaseCapture();
    }
}

// The button holds the mouse only to hear of it leaving: while the mouse is
// over it, or while a mouse button pressed on it is down. Holding it any
// longer would take the clicks meant for the rest of the window.
void TExplorerButton::MouseMove(int x, int y, WPARAM keys) {
    const bool inside = x >= 0 && y >= 0 && x <= Width() && y <= Height();
    const bool buttonDown = keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
    if (!inside) {
        SetMouseInside(false);
        if (!pressed_ && !buttonDown) {
            LetGoOfMouse();
        }
        return;
    }
    if (GetCapture() != Handle()) {
        if (buttonDown) {
            return; // a press elsewhere that passes over; it is not this button's
        }
        SetCapture(Handle());
    }
    if (enabled_ && Visible() && ParentFormActive()) {
        SetMouseInside(true);
    }
}

void TExplorerButton::AfterMenu() {
    // The mouse's leftovers from the menu go; an end of the program chosen in
    // the menu ("Uhr schließen") stays.
    DiscardPendingMessages(nullptr, WM_MOUSEFIRST, WM_MOUSEFIRST + 10);
    if (HWND holder = GetCapture()) {
        SendMessageW(holder, WM_CANCELMODE, 0, 0);
    }
    if (!CursorInside()) {
        mouseInside_ = false;
    }
    pressed_ = false;
    Repaint();
}

void TExplorerButton::LeftButtonDown() {
    HWND form = Form();
    // A window inside another program's (the taskbar) is not brought to the
    // front: that would bring the other program's window forward instead.
    const bool topLevel = !(GetWindowLongW(form, GWL_STYLE) & WS_CHILD);
    if (topLevel && !ParentFormActive()) {
        SetForegroundWindow(form);
        BringWindowToTop(form);
    }
    if (!enabled_ || !Visible()) {
        return;
    }
    pressed_ = true;
    mouseInside_ = true;
    Repaint();
    UpdateWindow(Handle());
    if (dropDownMenu_) {
        POINT corner{0, Height()};
        ClientToScreen(Handle(), &corner);
        PopupAt(*dropDownMenu_, corner);
        AfterMenu();
    }
}

void TExplorerButton::LeftButtonUp() {
    if (!enabled_ || !Visible() || !pressed_) {
        if (!CursorInside()) {
            LetGoOfMouse();
        }
        return;
    }
    pressed_ = false;
    if (mouseInside_ && groupIndex_ != 0) {
        if (!down_) {
            SetDown(true);
        } else if (allowAllUp_) {
            down_ = false;
        }
    }
    LetGoOfMouse();
    if (mouseInside_) {
        mouseInside_ = false;
        Repaint();
        if (!dropDownMenu_) {
            Click();
        }
    }
}

bool TExplorerButton::DialogChar(wchar_t key) {
    const wchar_t accelerator = AcceleratorOf(Widen(caption_));
    const auto lowered =
        static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(key))));
    if (accelerator == 0 || lowered != accelerator || !enabled_ || !Visible()) {
        return false;
    }
    PressByKeyboard();
    return true;
}

void TExplorerButton::PressByKeyboard() {
    mouseInside_ = true;
    pressed_ = false;
    Repaint();
    RunPendingMessages();
    LeftButtonDown();
    RunPendingMessages();
    LeftButtonUp();
    RunPendingMessages();
    if (!CursorInside()) {
        mouseInside_ = false;
        Repaint();
    }
}

void TExplorerButton::UpdateReader() {
    AccessibleElement button;
    button.role = dropDownMenu_ ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
    button.name = !AccessibleName.empty() ? AccessibleName
                  : !caption_.empty()     ? StripAccelerators(caption_)
                                          : hint_;
    button.defaultAction = dropDownMenu_ ? "\xC3\x96"
                                           "ffnen"
                                         : "Dr\xC3\xBC"
                                           "cken";
    button.state = (enabled_ ? 0 : STATE_SYSTEM_UNAVAILABLE) |
                   (dropDownMenu_ ? STATE_SYSTEM_HASPOPUP : 0) | (down_ ? STATE_SYSTEM_PRESSED : 0);
    reader_.SetSelf(button);
}

void TExplorerButton::Repaint() {
    if (Handle()) {
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

LRESULT TExplorerButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = 0;
    if (reader_.HandleMessage(
            Handle(), message, wParam, lParam, &answer, [this] { UpdateReader(); },
            [this](WPARAM) {
                if (enabled_ && Visible()) {
                    PressByKeyboard();
                }
            })) {
        return answer;
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        PrepareHint(message, wParam, lParam);
        MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        LeftButtonDown();
        return 0;
    case WM_LBUTTONUP:
        LeftButtonUp();
        return 0;
    case WM_RBUTTONUP: {
        // The system's handling sends WM_CONTEXTMENU, which shows PopupMenu.
        LRESULT result = DefaultHandler(message, wParam, lParam);
        if (PopupMenu) {
            AfterMenu();
        }
        if (!CursorInside()) {
            LetGoOfMouse();
        }
        return result;
    }
    case WM_MBUTTONUP:
        if (!CursorInside()) {
            LetGoOfMouse();
        }
        break;
    case WM_CONTEXTMENU:
        if (PopupMenu) {
            int x = GET_X_LPARAM(lParam);
            int y = GET_Y_LPARAM(lParam);
            if (lParam == -1) {
                POINT corner{0, Height()};
                ClientToScreen(Handle(), &corner);
                x = corner.x;
                y = corner.y;
            }
            PopupAt(*PopupMenu, POINT{x, y});
            return 0;
        }
        break;
    case WM_CANCELMODE:
        // The window was deactivated, or a box is coming up.
        LetGoOfMouse();
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle() && mouseInside_ && !pressed_) {
            SetMouseInside(false);
        }
        return 0;
    default:
        break;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

UINT TExplorerButton::TextFlags() const {
    UINT flags = DT_CENTER;
    if (alignment_ == TAlignment::taLeftJustify) {
        flags = DT_LEFT;
    } else if (alignment_ == TAlignment::taRightJustify) {
        flags = DT_RIGHT;
    }
    return flags | (wordWrap_ ? DT_WORDBREAK : 0);
}

ButtonLayoutInput TExplorerButton::MeasureLayout(HDC dc) const {
    ButtonLayoutInput input;
    input.width = Width() / scale_;
    input.height = Height() / scale_;
    if (!caption_.empty() && !(options_ & boIconOnly)) {
        std::wstring text = Widen(wordWrap_ ? caption_ + " " : caption_);
        RECT area{0, 0, input.width - 4, 0};
        DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | TextFlags());
        input.captionWidth = area.right - area.left;
        input.captionHeight = area.bottom - area.top;
    }
    if (!bitmap_.Empty()) {
        input.bitmapWidth = bitmap_.Width();
        input.bitmapHeight = bitmap_.Height();
    }
    input.markShown = MarkShown();
    input.alignment = alignment_;
    input.layout = layout_;
    input.wordWrap = wordWrap_;
    return input;
}

void TExplorerButton::PaintParentBackground(HDC dc) {
    RECT client{0, 0, Width(), Height()};
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const RECT bounds = BoundsRect();
    POINT origin{};
    SetViewportOrgEx(dc, -bounds.left, -bounds.top, &origin);
    SendMessageW(GetParent(Handle()), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TExplorerButton::DrawBevel(HDC dc, BevelLook look) {
    const BevelShades shades = BevelShadesOf(look, bevelStyle_);
    const int w = Width(), h = Height();
    UniquePen first(CreatePen(PS_SOLID, 1, ShadeColor(shades.first)));
    UniquePen second(CreatePen(PS_SOLID, 1, ShadeColor(shades.second)));
    // A wider bevel is the one-pixel frame drawn again a pixel further in.
    for (int i = 0; i < scale_; ++i) {
        {
            SelectGuard pen(dc, first.get());
            MoveToEx(dc, i, h - i, nullptr);
            LineTo(dc, i, i);
            LineTo(dc, w - 1 - i, i);
        }
        SelectGuard pen(dc, second.get());
        LineTo(dc, w - 1 - i, h - 1 - i);
        LineTo(dc, i, h - 1 - i);
    }
}

void TExplorerButton::DrawCaption(HDC dc, RECT area, bool disabled) {
    if (caption_.empty() || (options_ & boIconOnly)) {
        return;
    }
    std::wstring text = Widen(caption_);
    auto draw = [&](RECT place) {
        if (oldWindowsText_) {
            DrawTextExW(dc, text.data(), -1, &place, TextFlags() | DT_END_ELLIPSIS, nullptr);
        } else {
            DrawTextW(dc, text.c_str(), -1, &place, TextFlags());
        }
    };
    if (!disabled) {
        draw(area);
        return;
    }
    const COLORREF previous = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    draw(RECT{area.left + 1, area.top + 1, area.right + 1, area.bottom + 1});
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    draw(area);
    SetTextColor(dc, previous);
}

void TExplorerButton::DrawTransparent(HDC dc, int x, int y, const TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    HDC source = bitmap.Canvas();
    if (!source) {
        return;
    }
    // A one-bit mask, set where the bitmap has its corner colour.
    UniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    BitmapDc maskDc(mask.get());
    const COLORREF oldSourceBack = SetBkColor(source, GetPixel(source, 0, 0));
    BitBlt(maskDc.get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldSourceBack);

    // The picture with its transparent pixels made black.
    UniqueBitmap picture(CreateCompatibleBitmap(dc, w, h));
    BitmapDc pictureDc(picture.get());
    BitBlt(pictureDc.get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetTextColor(pictureDc.get(), RGB(255, 255, 255));
    SetBkColor(pictureDc.get(), RGB(0, 0, 0));
    BitBlt(pictureDc.get(), 0, 0, w, h, maskDc.get(), 0, 0, SRCAND);

    // Background AND mask clears the opaque pixels; OR puts the picture there.
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, pictureDc.get(), 0, 0, SRCPAINT);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void TExplorerButton::DrawEmbossed(HDC dc, int x, int y, const TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    HDC source = bitmap.Canvas();
    if (!source) {
        return;
    }
    // The one-bit copy: the corner colour becomes white, everything else black.
    UniqueBitmap mono(CreateBitmap(w, h, 1, 1, nullptr));
    BitmapDc monoDc(mono.get());
    const COLORREF oldSourceBack = SetBkColor(source, GetPixel(source, 0, 0));
    BitBlt(monoDc.get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldSourceBack);

    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    {
        SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        BitBlt(dc, x + 1, y + 1, w, h, monoDc.get(), 0, 0, kDSPDxax);
    }
    {
        SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNSHADOW));
        BitBlt(dc, x, y, w, h, monoDc.get(), 0, 0, kDSPDxax);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void TExplorerButton::DrawPopupMark(HDC dc, Point place, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    for (const PixelRun& run : PopupMarkRuns(place)) {
        const RECT row{run.x * scale_, run.y * scale_, (run.x + run.length) * scale_,
                       (run.y + 1) * scale_};
        FillRect(dc, &row, brush.get());
    }
}

void TExplorerButton::PaintClient(HDC target, const RECT& /*area*/) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    // Drawn off-screen over the parent's own picture, then copied in one step.
    UniqueBitmap buffer(CreateCompatibleBitmap(target, w, h));
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    if (!buffer || !memory) {
        return;
    }
    HDC dc = memory.get();
    SelectGuard selectBuffer(dc, buffer.get());
    PaintParentBackground(dc);

    if (down_ && showDownPattern_) {
        if (!downPattern_) {
            UniqueBitmap pattern(CreateCompatibleBitmap(target, 8, 8));
            {
                BitmapDc patternDc(pattern.get());
                for (int y = 0; y < 8; ++y) {
                    for (int x = 0; x < 8; ++x) {
                        SetPixel(patternDc.get(), x, y,
                                 GetSysColor(DownPatternIsHighlight(x, y) ? COLOR_BTNHIGHLIGHT
                                                                          : COLOR_BTNFACE));
                    }
                }
            }
            downPattern_.reset(CreatePatternBrush(pattern.get()));
        }
        const RECT all{0, 0, w, h};
        FillRect(dc, &all, downPattern_.get());
    }

    SetBkMode(dc, TRANSPARENT);
    SelectGuard selectFont(dc, font_ ? font_ : DialogFont());
    SetTextColor(dc, Plain(fontColor_));
    const ButtonLayoutInput input = MeasureLayout(dc);
    const ButtonLayout layout = LayOutExplorerButton(input);
    RECT caption{layout.tx, layout.ty, layout.tx + layout.tw, layout.ty + layout.th};
    const bool hasBitmap = !bitmap_.Empty();

    if (!enabled_) {
        if (down_) {
            DrawBevel(dc, BevelLook::Pressed);
        }
        if (!disabledBitmap_.Empty()) {
            DrawTransparent(dc, layout.bx, layout.by, disabledBitmap_);
        } else if (hasBitmap) {
            DrawEmbossed(dc, layout.bx, layout.by, bitmap_);
        }
        DrawCaption(dc, caption, true);
    } else if ((pressed_ && mouseInside_) || down_) {
        DrawBevel(dc, BevelLook::Pressed);
        if (bevelStyle_ == TBevelStyle::bsRaised) {
            OffsetRect(&caption, 1, 1);
        }
        DrawCaption(dc, caption, false);
        if (hasBitmap) {
            DrawTransparent(dc, layout.bx + 1, layout.by + 1, bitmap_);
        }
        if (MarkShown()) {
            DrawPopupMark(dc, PopupMarkPlace(input, layout, true), GetTextColor(dc));
        }
    } else {
        if (mouseInside_) {
            DrawBevel(dc, BevelLook::Hot);
        } else {
            SetTextColor(dc, Plain(unselectedFontColor_));
        }
        if (bevelStyle_ == TBevelStyle::bsLowered) {
            OffsetRect(&caption, 1, 1);
        }
        DrawCaption(dc, caption, false);
        if (hasBitmap) {
            const bool colour = mouseInside_ || !(options_ & boMonoDisplay);
            const TBitmap& shown = colour                    ? bitmap_
                                   : !noFocusBitmap_.Empty() ? noFocusBitmap_
                                                             : monoBitmap_;
            DrawTransparent(dc, layout.bx, layout.by, shown.Empty() ? bitmap_ : shown);
        }
        if (MarkShown()) {
            DrawPopupMark(dc, PopupMarkPlace(input, layout, false), GetTextColor(dc));
        }
    }
    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}
