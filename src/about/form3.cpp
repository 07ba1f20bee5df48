#include "about/form3.h"

#include "toolkit/application.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls.h"
#include "toolkit/scaled_picture.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include <algorithm>
#include <iterator>

#include <oleacc.h>
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
    design.scalesWithDpi = true;
    return design;
}

// The box's 96-DPI layout in the screen's pixels.
RECT ToRect(const BoxRect& box, Scale scale) {
    const BoxRect scaled = scale(box);
    return RECT{scaled.left, scaled.top, scaled.right(), scaled.bottom()};
}

// A measured length in pixels of the 96-DPI layout, rounded up so that
// nothing of the text falls outside.
int DesignLength(int length, int factor) {
    return (length + factor - 1) / factor;
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

void DrawWrapped(HDC dc, HFONT font, const std::string& text, const BoxRect& box, Scale scale) {
    SelectGuard select(dc, font);
    SetTextColor(dc, RGB(0, 0, 0));
    std::wstring wide = Widen(text);
    RECT area = ToRect(box, scale);
    DrawTextW(dc, wide.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace

TForm3* Form3 = nullptr;

TForm3::TForm3(TApplication& application, AboutBoxLinks links)
    : TForm(application, AboutBoxDesign()), application_(application), links_(std::move(links)) {
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
    hint_ = std::make_unique<TToolHint>(Handle());
    ScaleTexts();
}

void TForm3::ScaleFactorChanged() {
    GradientFill1->SetLayoutScale(LayoutScale());
    ScaleTexts();
}

void TForm3::ScaleTexts() {
    LOGFONTW title{};
    title.lfHeight = -LayoutScale()(about::kTitleHeight);
    title.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(title.lfFaceName, L"Arial");
    titleFont_.reset(CreateFontIndirectW(&title));

    LOGFONTW link{};
    GetObjectW(DialogFont(LayoutScale().Factor()), sizeof(link), &link);
    link.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectW(&link));

    MeasureLinks();
    hint_->SetAreaHint(kCloseHintId, ToRect(about::kImage3, LayoutScale()), about::kCloseHint);
}

void TForm3::FormCreate() {
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                          about::kImage1.width, about::kImage1.height,
                                          LR_DEFAULTCOLOR | LR_SHARED));
}

void TForm3::FormShow() {
    const int width = LayoutScale()(about::kShape1.width);
    const int height = LayoutScale()(about::kShape1.height);
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - width) / 2,
              (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height);
}

void TForm3::FormClose() {
    // A main window that has closed meanwhile (the end of the session) stays
    // closed: shown, it would be made anew.
    if (TForm* main = application_.MainForm(); main && main != this && main->Handle()) {
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
    const int f = LayoutScale().Factor();
    linkSizes_ = {DesignLength(terms.cx, f), DesignLength(terms.cy, f), DesignLength(web.cx, f),
                  DesignLength(web.cy, f),   DesignLength(mail.cx, f),  DesignLength(mail.cy, f)};
}

RECT TForm3::LinkBounds(AboutElement link) const {
    switch (link) {
    case AboutElement::Terms:
        return ToRect({about::kLabel12.left, about::kLabel12.top, linkSizes_.termsWidth,
                       linkSizes_.termsHeight},
                      LayoutScale());
    case AboutElement::Web:
        return ToRect(
            {about::kLabel20.left, about::kLabel20.top, linkSizes_.webWidth, linkSizes_.webHeight},
            LayoutScale());
    case AboutElement::Mail:
        return ToRect({about::kLabel19.left, about::kLabel19.top, linkSizes_.mailWidth,
                       linkSizes_.mailHeight},
                      LayoutScale());
    default:
        break;
    }
    return RECT{};
}

AboutElement TForm3::ElementAt(POINT client) const {
    // The elements lie where the 96-DPI layout has them, each pixel of it a
    // block of the factor's size.
    const Scale scale = LayoutScale();
    return AboutElementAt(scale.Unscaled(client.x), scale.Unscaled(client.y), linkSizes_);
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
    pressed_ = ElementAt(point);
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
    const AboutElement released = ElementAt(point);
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
    const AboutElement element = ElementAt(point);
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
    switch (ElementAt(client)) {
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

// The reader's children, in the order of reading.
enum ReaderChild : WPARAM {
    kTitleText = 1,
    kVersionText,
    kDisclaimerText,
    kTerms,
    kWeb,
    kMail,
    kClose
};

void TForm3::UpdateReader() {
    const Scale f = LayoutScale();
    auto text = [](const std::string& words, RECT bounds) {
        return AccessibleElement{ROLE_SYSTEM_STATICTEXT, words, "", "", "", bounds,
                                 STATE_SYSTEM_READONLY};
    };
    auto link = [](const std::string& words, const std::string& address, RECT bounds) {
        return AccessibleElement{ROLE_SYSTEM_LINK,
                                 words,
                                 address,
                                 "",
                                 "\xC3\x96"
                                 "ffnen",
                                 bounds,
                                 STATE_SYSTEM_LINKED};
    };
    std::string version = about::kVersionAndCredits;
    std::replace(version.begin(), version.end(), '\n', ' ');
    reader_.SetSelf({ROLE_SYSTEM_DIALOG, design_.caption, "", "", "", RECT{}, 0});
    reader_.SetChildren(
        {text(about::kTitle, ToRect({about::kLabel8.left, about::kLabel8.top, about::kLabel9.width,
                                     about::kTitleHeight},
                                    f)),
         text(version, ToRect(about::kLabel9, f)),
         text(about::kDisclaimer, ToRect(about::kLabel4, f)),
         link(about::kTermsOfUse, "", LinkBounds(AboutElement::Terms)),
         link(about::kWebAddress, about::kWebAddress, LinkBounds(AboutElement::Web)),
         link(about::kMailAddress, std::string("mailto:") + about::kMailAddress,
              LinkBounds(AboutElement::Mail)),
         {ROLE_SYSTEM_PUSHBUTTON, about::kCloseHint, "", "",
          "Dr\xC3\xBC"
          "cken",
          ToRect(about::kImage3, f), 0}});
}

void TForm3::ReaderAction(WPARAM child) {
    switch (child) {
    case kTerms:
        Label12Click();
        break;
    case kWeb:
        Label16Click();
        break;
    case kMail:
        Label17Click();
        break;
    case kClose:
        Image3MouseDown();
        break;
    default:
        break;
    }
}

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = 0;
    if (reader_.HandleMessage(
            Handle(), message, wParam, lParam, &answer, [this] { UpdateReader(); },
            [this](WPARAM child) { ReaderAction(child); })) {
        return answer;
    }
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
    const Scale scale = LayoutScale();
    if (scale == Scale()) {
        PaintTabAt(dc, POINT{0, 0});
        return;
    }
    // A picture: drawn at its own size on the white face, then pixel by pixel
    // larger.
    const BoxRect& tab = about::kImage4;
    UniqueBitmap picture = CreateBitmap32(tab.width, tab.height);
    if (!picture) {
        return;
    }
    {
        BitmapDc canvas(picture.get());
        const RECT area{0, 0, tab.width, tab.height};
        FillRect(canvas.get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        PaintTabAt(canvas.get(), POINT{-tab.left, -tab.top});
    }
    DrawPixelsScaled(dc, scale(tab.left), scale(tab.top), picture.get(), scale.Factor());
}

void TForm3::PaintTabAt(HDC dc, POINT origin) const {
    const BoxRect tab{about::kImage4.left + origin.x, about::kImage4.top + origin.y,
                      about::kImage4.width, about::kImage4.height};
    // The slant meets the bottom edge where the question mark's square begins.
    const POINT corners[] = {{tab.left, tab.top},
                             {tab.right(), tab.top},
                             {tab.right(), tab.bottom()},
                             {tab.left + tab.height, tab.bottom()}};
    SelectGuard brush(dc, GetStockObject(BLACK_BRUSH));
    SelectGuard pen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, corners, 4);

    // Both squares are black already; their white signs go on top.
    const BoxRect question{about::kImage5.left + origin.x, about::kImage5.top + origin.y,
                           about::kImage5.width, about::kImage5.height};
    for (int row = 0; row < static_cast<int>(std::size(kQuestionMark)); ++row) {
        for (int column = 0; kQuestionMark[row][column]; ++column) {
            if (kQuestionMark[row][column] == 'X') {
                SetPixelV(dc, question.left + column, question.top + row, RGB(255, 255, 255));
            }
        }
    }
    const BoxRect cross{about::kImage3.left + origin.x, about::kImage3.top + origin.y,
                        about::kImage3.width, about::kImage3.height};
    UniquePen white(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
    SelectGuard whitePen(dc, white.get());
    MoveToEx(dc, cross.left + 3, cross.top + 3, nullptr);
    LineTo(dc, cross.right() - 3, cross.bottom() - 3);
    MoveToEx(dc, cross.right() - 4, cross.top + 3, nullptr);
    LineTo(dc, cross.left + 2, cross.bottom() - 3);
}

void TForm3::PaintTexts(HDC dc) const {
    const Scale s = LayoutScale();
    const int f = s.Factor();
    SetBkMode(dc, TRANSPARENT);
    DrawTextAt(dc, titleFont_.get(), RGB(0, 0, 0), about::kTitle, s(about::kLabel8.left),
               s(about::kLabel8.top));
    DrawWrapped(dc, DialogFont(f), about::kVersionAndCredits, about::kLabel9, s);
    DrawWrapped(dc, DialogFont(f), about::kDisclaimer, about::kLabel4, s);
    const COLORREF blue = about::kLinkColor;
    DrawTextAt(dc, linkFont_.get(), blue, about::kTermsOfUse, s(about::kLabel12.left),
               s(about::kLabel12.top));
    DrawTextAt(dc, linkFont_.get(), blue, about::kWebAddress, s(about::kLabel20.left),
               s(about::kLabel20.top));
    DrawTextAt(dc, linkFont_.get(), blue, about::kMailAddress, s(about::kLabel19.left),
               s(about::kLabel19.top));
}

void TForm3::FormPaint(HDC target) {
    const Scale s = LayoutScale();
    const int f = s.Factor();
    const int width = s(about::kShape1.width);
    const int height = s(about::kShape1.height);
    // Painted off-screen and copied in one step.
    UniqueBitmap buffer(CreateCompatibleBitmap(target, width, height));
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    if (!buffer || !memory) {
        return;
    }
    HDC dc = memory.get();
    SelectGuard selectBuffer(dc, buffer.get());
    // The white face in its black frame, one pixel of the factor wide.
    const RECT face{0, 0, width, height};
    FillRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const RECT inside{f, f, width - f, height - f};
    FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    GradientFill1->Paint(dc);
    DrawIconScaled(dc, s(about::kImage1.left), s(about::kImage1.top), icon_, about::kImage1.width,
                   f);
    PaintTexts(dc);
    PaintTab(dc);
    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}
