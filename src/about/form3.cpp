#include "about/form3.h"

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include <iterator>

#include <shellapi.h>
#include <windowsx.h>

namespace {

constexpr UINT kCloseHintId = 1;

// The question mark's white pixels in its 13 × 13 square.
constexpr const char* kQuestionMark[] = {
    ".............", ".............", "....XXXX.....", "...XX..XX....",
    ".......XX....", "......XX.....", ".....XX......", ".....XX......",
    ".............", ".....XX......", ".....XX......",
};

FormDesign AboutBoxDesign() {
    FormDesign design;
    design.className = L"TForm3";
    design.caption = "Info";
    design.clientWidth = about::kShape1.width;
    design.clientHeight = about::kShape1.height;
    design.borderStyle = TBorderStyle::None;
    design.keyPreview = true;
    return design;
}

RECT ToRect(const BoxRect& box) {
    return RECT{box.left, box.top, box.right(), box.bottom()};
}

bool ShellOpen(HWND owner, const std::string& address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

SIZE TextSize(HDC dc, HFONT font, const std::string& text) {
    SelectGuard select(dc, font);
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void DrawTextAt(HDC dc, HFONT font, COLORREF color, const std::string& text, int x, int y) {
    SelectGuard select(dc, font);
    SetTextColor(dc, color);
    const std::wstring wide = Widen(text);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void DrawWrapped(HDC dc, HFONT font, const std::string& text, const BoxRect& box) {
    SelectGuard select(dc, font);
    SetTextColor(dc, RGB(0, 0, 0));
    std::wstring wide = Widen(text);
    RECT area = ToRect(box);
    DrawTextW(dc, wide.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace

TForm3* Form3 = nullptr;

TForm3::TForm3(TApplication& application, AboutBoxLinks links)
    : TForm(application, AboutBoxDesign()), links_(std::move(links)) {
    Form3 = this;
}

TForm3::~TForm3() {
    if (Form3 == this) {
        Form3 = nullptr;
    }
}

void TForm3::CreateParams(CreateParamsInfo& params) {
    TForm::CreateParams(params);
    // A pop-up without caption or frame: the face draws its own black frame.
    params.style = (params.style & ~(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)) | WS_POPUP;
    params.exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
}

void TForm3::CreateComponents() {
    GradientFill1 = std::make_unique<TGradientFill>(Handle());
    const BoxRect& strip = about::kGradientFill1;
    GradientFill1->SetBounds(strip.left, strip.top, strip.width, strip.height);
    GradientFill1->SetBeginColor(about::kGradientBegin);
    GradientFill1->SetEndColor(about::kGradientEnd);
    GradientFill1->SetFillDirection(TFillDirection::fdRightToLeft);
    GradientFill1->SetNumberOfColors(about::kGradientColors);
    GradientFill1->OnMouseDown = [this](TGradientFill*, UINT, POINT) { Shape1MouseDown(); };

    LOGFONTW title{};
    title.lfHeight = -about::kTitleHeight;
    title.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(title.lfFaceName, L"Arial");
    titleFont_.reset(CreateFontIndirectW(&title));

    LOGFONTW link{};
    GetObjectW(DialogFont(), sizeof(link), &link);
    link.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectW(&link));

    MeasureLinks();
    hint_ = std::make_unique<TToolHint>(Handle());
    hint_->SetAreaHint(kCloseHintId, ToRect(about::kImage3), about::kCloseHint);
}

void TForm3::FormCreate() {
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                          about::kImage1.width, about::kImage1.height,
                                          LR_DEFAULTCOLOR | LR_SHARED));
}

void TForm3::FormShow() {
    const int width = about::kShape1.width;
    const int height = about::kShape1.height;
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - width) / 2,
              (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height);
}

void TForm3::FormClose() {
    if (TForm* main = application_.MainForm(); main && main != this) {
        main->Show();
    }
}

void TForm3::FormKeyDown(WORD& key) {
    if (key == VK_ESCAPE) {
        Close();
    }
}

void TForm3::MeasureLinks() {
    WindowDc dc(Handle());
    const SIZE terms = TextSize(dc.get(), linkFont_.get(), about::kTermsOfUse);
    const SIZE web = TextSize(dc.get(), linkFont_.get(), about::kWebAddress);
    const SIZE mail = TextSize(dc.get(), linkFont_.get(), about::kMailAddress);
    linkSizes_ = {terms.cx, terms.cy, web.cx, web.cy, mail.cx, mail.cy};
}

RECT TForm3::LinkBounds(AboutElement link) const {
    switch (link) {
    case AboutElement::Terms:
        return RECT{about::kLabel12.left, about::kLabel12.top,
                    about::kLabel12.left + linkSizes_.termsWidth,
                    about::kLabel12.top + linkSizes_.termsHeight};
    case AboutElement::Web:
        return RECT{about::kLabel20.left, about::kLabel20.top,
                    about::kLabel20.left + linkSizes_.webWidth,
                    about::kLabel20.top + linkSizes_.webHeight};
    case AboutElement::Mail:
        return RECT{about::kLabel19.left, about::kLabel19.top,
                    about::kLabel19.left + linkSizes_.mailWidth,
                    about::kLabel19.top + linkSizes_.mailHeight};
    default:
        break;
    }
    return RECT{};
}

POINT TForm3::ScreenCorner(AboutElement link) const {
    const RECT bounds = LinkBounds(link);
    POINT corner{bounds.left, bounds.top};
    ClientToScreen(Handle(), &corner);
    return corner;
}

void TForm3::Image3MouseDown() {
    Close();
}

void TForm3::Image5Click() {
    helpMode_ = true;
    ::SetCursor(LoadCursorW(nullptr, IDC_HELP));
}

void TForm3::Shape1MouseDown() {
    helpMode_ = false;
    ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void TForm3::LinkClick(AboutElement link, int helpContext, const std::string& address) {
    if (helpMode_) {
        if (links_.helpPopup) {
            links_.helpPopup(helpContext, ScreenCorner(link));
        }
    } else {
        const bool opened = links_.openAddress ? links_.openAddress(address)
                                               : ShellOpen(application_.Handle(), address);
        if (!opened) {
            seams::ShowMessageBox(Handle(),
                                  "Die Adresse \xE2\x80\x9E" + address +
                                      "\xE2\x80\x9C konnte nicht ge\xC3\xB6"
                                      "ffnet werden.",
                                  application_.Title(), MB_OK | MB_ICONWARNING);
        }
    }
    Shape1MouseDown();
}

void TForm3::Label16Click() {
    LinkClick(AboutElement::Web, about::kWebHelpContext, about::kWebAddress);
}

void TForm3::Label17Click() {
    LinkClick(AboutElement::Mail, about::kMailHelpContext,
              std::string("mailto:") + about::kMailAddress);
}

void TForm3::Label12Click() {
    if (links_.termsOfUse) {
        links_.termsOfUse();
    }
    Shape1MouseDown();
}

void TForm3::LeftButtonDown(POINT point) {
    pressed_ = AboutElementAt(point.x, point.y, linkSizes_);
    switch (pressed_) {
    case AboutElement::Close:
        Image3MouseDown();
        break;
    case AboutElement::Gradient:
        GradientFill1->MouseDown(WM_LBUTTONDOWN, point);
        break;
    case AboutElement::Face:
    case AboutElement::Icon:
        Shape1MouseDown();
        break;
    default:
        break;
    }
}

void TForm3::LeftButtonUp(POINT point) {
    const AboutElement released = AboutElementAt(point.x, point.y, linkSizes_);
    if (released != pressed_) {
        return;
    }
    pressed_ = AboutElement::Face;
    switch (released) {
    case AboutElement::Question:
        Image5Click();
        break;
    case AboutElement::Web:
        Label16Click();
        break;
    case AboutElement::Mail:
        Label17Click();
        break;
    case AboutElement::Terms:
        Label12Click();
        break;
    default:
        break;
    }
}

bool TForm3::SetCursorShape(POINT point) {
    const AboutElement element = AboutElementAt(point.x, point.y, linkSizes_);
    const bool link = element == AboutElement::Web || element == AboutElement::Mail ||
                      element == AboutElement::Terms;
    const wchar_t* shape = helpMode_ ? IDC_HELP : link ? IDC_HAND : IDC_ARROW;
    ::SetCursor(LoadCursorW(nullptr, shape));
    return true;
}

void TForm3::ContextMenu(LPARAM screenPoint) {
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    POINT client = at;
    ScreenToClient(Handle(), &client);
    int context = -1;
    switch (AboutElementAt(client.x, client.y, linkSizes_)) {
    case AboutElement::Web:
        context = about::kWebHelpContext;
        break;
    case AboutElement::Mail:
        context = about::kMailHelpContext;
        break;
    case AboutElement::Terms:
        context = about::kTermsHelpContext;
        break;
    default:
        break;
    }
    if (context >= 0 && links_.contextHelp) {
        links_.contextHelp(context, at);
    }
}

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        LeftButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        LeftButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(Handle(), &cursor);
            return SetCursorShape(cursor);
        }
        break;
    case WM_CONTEXTMENU:
        ContextMenu(lParam);
        return 0;
    default:
        break;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

void TForm3::PaintTab(HDC dc) const {
    const BoxRect& tab = about::kImage4;
    // The slant meets the bottom edge where the question mark's square begins.
    const POINT corners[] = {{tab.left, tab.top},
                             {tab.right(), tab.top},
                             {tab.right(), tab.bottom()},
                             {tab.left + tab.height, tab.bottom()}};
    SelectGuard brush(dc, GetStockObject(BLACK_BRUSH));
    SelectGuard pen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, corners, 4);

    // Both squares are black already; their white signs go on top.
    const BoxRect& question = about::kImage5;
    for (int row = 0; row < static_cast<int>(std::size(kQuestionMark)); ++row) {
        for (int column = 0; kQuestionMark[row][column]; ++column) {
            if (kQuestionMark[row][column] == 'X') {
                SetPixelV(dc, question.left + column, question.top + row, RGB(255, 255, 255));
            }
        }
    }
    const BoxRect& cross = about::kImage3;
    UniquePen white(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
    SelectGuard whitePen(dc, white.get());
    MoveToEx(dc, cross.left + 3, cross.top + 3, nullptr);
    LineTo(dc, cross.right() - 3, cross.bottom() - 3);
    MoveToEx(dc, cross.right() - 4, cross.top + 3, nullptr);
    LineTo(dc, cross.left + 2, cross.bottom() - 3);
}

void TForm3::PaintTexts(HDC dc) const {
    SetBkMode(dc, TRANSPARENT);
    DrawTextAt(dc, titleFont_.get(), RGB(0, 0, 0), about::kTitle, about::kLabel8.left,
               about::kLabel8.top);
    DrawWrapped(dc, DialogFont(), about::kVersionAndCredits, about::kLabel9);
    DrawWrapped(dc, DialogFont(), about::kDisclaimer, about::kLabel4);
    const COLORREF blue = about::kLinkColor;
    DrawTextAt(dc, linkFont_.get(), blue, about::kTermsOfUse, about::kLabel12.left,
               about::kLabel12.top);
    DrawTextAt(dc, linkFont_.get(), blue, about::kWebAddress, about::kLabel20.left,
               about::kLabel20.top);
    DrawTextAt(dc, linkFont_.get(), blue, about::kMailAddress, about::kLabel19.left,
               about::kLabel19.top);
}

void TForm3::FormPaint(HDC target) {
    const int width = about::kShape1.width;
    const int height = about::kShape1.height;
    // Painted off-screen and copied in one step.
    UniqueBitmap buffer(CreateCompatibleBitmap(target, width, height));
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    if (!buffer || !memory) {
        return;
    }
    HDC dc = memory.get();
    SelectGuard selectBuffer(dc, buffer.get());
    {
        SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
        SelectGuard pen(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, 0, 0, width, height);
    }
    GradientFill1->Paint(dc);
    if (icon_) {
        DrawIconEx(dc, about::kImage1.left, about::kImage1.top, icon_, about::kImage1.width,
                   about::kImage1.height, 0, nullptr, DI_NORMAL);
    }
    PaintTexts(dc);
    PaintTab(dc);
    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}
