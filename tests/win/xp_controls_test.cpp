// The visual-styles binding and the themed group box and check box: the
// classic paint read back pixel by pixel, the themed paint through recording
// stand-ins for the library's drawing calls, the colour and erase messages,
// the children's enabled state, and the one-per-form marker.
#include "controls/xpcontrols.h"
#include "controls/xpthemes.h"
#include "toolkit/application.h"
#include "toolkit/bitmap.h"
#include "toolkit/form.h"
#include "toolkit/gdi.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace fake {

struct Drawn {
    int part;
    int state;
    RECT rect;
    std::wstring text;
    int length;
    DWORD flags;
};

std::vector<Drawn> backgrounds;
std::vector<Drawn> texts;
std::vector<HWND> parentBackgrounds;
std::wstring openedClass;
int opened = 0;
int closed = 0;
BOOL themeActive = TRUE;
bool openFails = false;

HANDLE WINAPI OpenThemeData(HWND, LPCWSTR classList) {
    ++opened;
    openedClass = classList;
    return openFails ? nullptr : reinterpret_cast<HANDLE>(0x5150);
}
HRESULT WINAPI CloseThemeData(HANDLE) {
    ++closed;
    return S_OK;
}
HRESULT WINAPI DrawThemeBackground(HANDLE, HDC, int part, int state, const RECT* rect,
                                   const RECT*) {
    backgrounds.push_back({part, state, *rect, L"", 0, 0});
    return S_OK;
}
HRESULT WINAPI DrawThemeText(HANDLE, HDC, int part, int state, LPCWSTR text, int length,
                             DWORD flags, DWORD, const RECT* rect) {
    texts.push_back({part, state, *rect, text, length, flags});
    return S_OK;
}
HRESULT WINAPI DrawThemeParentBackground(HWND window, HDC, const RECT*) {
    parentBackgrounds.push_back(window);
    return S_OK;
}
BOOL WINAPI IsThemeActive() {
    return themeActive;
}
BOOL WINAPI IsAppThemed() {
    return TRUE;
}

template <typename Function> FARPROC Address(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

} // namespace fake

namespace {

const char* const kFakedNames[] = {"OpenThemeData",
                                   "CloseThemeData",
                                   "DrawThemeBackground",
                                   "DrawThemeText",
                                   "DrawThemeParentBackground",
                                   "IsThemeActive",
                                   "IsAppThemed"};

FormDesign HostDesign() {
    FormDesign design;
    design.className = L"TXPTestHost";
    design.caption = "XP";
    design.clientWidth = 400;
    design.clientHeight = 300;
    return design;
}

// The group box's client area painted into a bitmap that starts out in a
// colour no paint uses, read back as pixels.
class Painted {
  public:
    explicit Painted(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        void* bits = nullptr;
        UniqueBitmap bitmap = CreateBitmap32(width_, height_, &bits);
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectGuard selected(dc.get(), bitmap.get());
        UniqueBrush marker(CreateSolidBrush(kMarker));
        FillRect(dc.get(), &client, marker.get());
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        GdiFlush();
        const auto* source = static_cast<const DWORD*>(bits);
        pixels_.assign(source, source + width_ * height_);
    }
    COLORREF At(int x, int y) const {
        DWORD bgra = pixels_[static_cast<std::size_t>(y * width_ + x)];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    bool AnyIn(const RECT& area, COLORREF colour) const {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

    static constexpr COLORREF kMarker = RGB(1, 2, 3);

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

struct TextSize {
    int zeroHeight;
    int captionWidth;
};

TextSize MeasureCaption(const std::wstring& caption) {
    WindowDc screen(nullptr);
    SelectGuard font(screen.get(), DialogFont());
    SIZE zero{}, text{};
    GetTextExtentPoint32W(screen.get(), L"0", 1, &zero);
    GetTextExtentPoint32W(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &text);
    return {zero.cy, text.cx};
}

} // namespace

class XPControlsTest : public testing::Test {
  protected:
    void SetUp() override {
        host = std::make_unique<TForm>(*Application, HostDesign());
        host->CreateHandle();
        group = std::make_unique<TXPGroupBox>(nullptr, host->Handle(), "&Optionen", 10, 10, 200,
                                              120, 100);
        check = std::make_unique<TXPCheckBox>(group.get(), nullptr, "&Haken", 10, 30, 100, 16, 101);
        button = std::make_unique<TButton>(group.get(), nullptr, "Knopf", 10, 60, 80, 23, 102);
        label = std::make_unique<TStaticText>(group.get(), nullptr, "Text", 10, 90, 80, 17, 103);
        loadedBefore = ThemeLibraryLoaded;
        for (const char* name : kFakedNames) {
            saved.push_back(ThemeEntryPoint(name));
        }
        fake::backgrounds.clear();
        fake::texts.clear();
        fake::parentBackgrounds.clear();
        fake::opened = fake::closed = 0;
        fake::themeActive = TRUE;
        fake::openFails = false;
    }
    void TearDown() override {
        for (std::size_t i = 0; i < std::size(kFakedNames); ++i) {
            SetThemeEntryPointForTest(kFakedNames[i], saved[i]);
        }
        SetThemeLibraryLoadedForTest(loadedBefore);
        label.reset();
        button.reset();
        check.reset();
        group.reset();
        host.reset();
    }
    // The stand-ins take the library's place: themes look active.
    void FakeTheme() {
        SetThemeEntryPointForTest("OpenThemeData", fake::Address(fake::OpenThemeData));
        SetThemeEntryPointForTest("CloseThemeData", fake::Address(fake::CloseThemeData));
        SetThemeEntryPointForTest("DrawThemeBackground", fake::Address(fake::DrawThemeBackground));
        SetThemeEntryPointForTest("DrawThemeText", fake::Address(fake::DrawThemeText));
        SetThemeEntryPointForTest("DrawThemeParentBackground",
                                  fake::Address(fake::DrawThemeParentBackground));
        SetThemeEntryPointForTest("IsThemeActive", fake::Address(fake::IsThemeActive));
        SetThemeEntryPointForTest("IsAppThemed", fake::Address(fake::IsAppThemed));
        SetThemeLibraryLoadedForTest(true);
    }
    void NoTheme() { SetThemeLibraryLoadedForTest(false); }

    std::unique_ptr<TForm> host;
    std::unique_ptr<TXPGroupBox> group;
    std::unique_ptr<TXPCheckBox> check;
    std::unique_ptr<TButton> button;
    std::unique_ptr<TStaticText> label;
    bool loadedBefore = false;
    std::vector<FARPROC> saved;
};

TEST_F(XPControlsTest, LibraryIsLoadedByNameAndFreedAgain) {
    InitThemeLibrary();
    ASSERT_TRUE(ThemeLibraryLoaded);
    for (const char* name : kFakedNames) {
        EXPECT_NE(ThemeEntryPoint(name), nullptr) << name;
    }
    int names = 0;
    while (ThemeEntryPointNames[names]) {
        ++names;
    }
    EXPECT_EQ(names, 46);
    EXPECT_STREQ(ThemeEntryPointNames[0], "OpenThemeData");
    EXPECT_STREQ(ThemeEntryPointNames[45], "EnableTheming");
    // Asked of the library itself each time.
    using Query = BOOL(WINAPI*)();
    auto active =
        reinterpret_cast<Query>(reinterpret_cast<void (*)()>(ThemeEntryPoint("IsThemeActive")));
    auto themed =
        reinterpret_cast<Query>(reinterpret_cast<void (*)()>(ThemeEntryPoint("IsAppThemed")));
    EXPECT_EQ(UseThemes(), active() && themed());
    FreeThemeLibrary();
    EXPECT_FALSE(ThemeLibraryLoaded);
    EXPECT_EQ(ThemeEntryPoint("OpenThemeData"), nullptr);
    EXPECT_FALSE(UseThemes());
    FreeThemeLibrary(); // twice is harmless
}

TEST_F(XPControlsTest, MissingLibraryMeansClassicWithoutAnErrorBox) {
    const UINT modeBefore = SetErrorMode(0);
    SetErrorMode(modeBefore);
    InitThemeLibrary("tikkora-no-such-uxtheme.dll");
    EXPECT_FALSE(ThemeLibraryLoaded);
    EXPECT_FALSE(UseThemes());
    const UINT modeAfter = SetErrorMode(0);
    SetErrorMode(modeAfter);
    EXPECT_EQ(modeAfter, modeBefore) << "the error mode is put back";
    // Painting then is classic.
    Painted shot(group->Handle());
    EXPECT_TRUE(shot.AnyIn(RECT{0, 0, shot.Width(), shot.Height()}, GetSysColor(COLOR_BTNSHADOW)));
}

TEST_F(XPControlsTest, ClassicPaintDrawsAnEtchedFrameWithAGapForTheCaption) {
    NoTheme();
    const TextSize size = MeasureCaption(L"&Optionen");
    const int top = size.zeroHeight / 2;
    Painted shot(group->Handle());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const int middle = (top + shot.Height()) / 2;
    EXPECT_EQ(shot.At(0, middle), shadow);
    EXPECT_EQ(shot.At(1, middle), highlight);
    EXPECT_EQ(shot.At(shot.Width() - 2, middle), shadow);
    EXPECT_EQ(shot.At(shot.Width() - 1, middle), highlight);
    EXPECT_EQ(shot.At(middle, shot.Height() - 2), shadow);
    EXPECT_EQ(shot.At(middle, shot.Height() - 1), highlight);
    EXPECT_EQ(shot.At(3, top), shadow);
    EXPECT_EQ(shot.At(3, top + 1), highlight);
    // Inside: untouched (the background is the erase message's).
    EXPECT_EQ(shot.At(50, middle), Painted::kMarker);
    // The caption interrupts the top line and is drawn in the text colour.
    const RECT caption{7, 0, 7 + size.captionWidth + 2, size.zeroHeight};
    EXPECT_NE(shot.At(caption.left + 1, top), shadow);
    EXPECT_NE(shot.At(caption.right - 1, top), shadow);
    EXPECT_EQ(shot.At(caption.right + 2, top), shadow);
    EXPECT_TRUE(shot.AnyIn(caption, GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(XPControlsTest, ClassicPaintWithoutCtl3DAndDisabled) {
    NoTheme();
    group->Ctl3D = false;
    group->SetEnabled(false);
    const TextSize size = MeasureCaption(L"&Optionen");
    Painted shot(group->Handle());
    const int middle = (size.zeroHeight / 2 + shot.Height()) / 2;
    EXPECT_EQ(shot.At(0, middle), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(shot.At(1, middle), Painted::kMarker);
    const RECT caption{7, 0, 7 + size.captionWidth + 2, size.zeroHeight + 1};
    EXPECT_TRUE(shot.AnyIn(caption, GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_TRUE(shot.AnyIn(caption, GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_FALSE(shot.AnyIn(caption, GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(XPControlsTest, ThemedPaintLetsTheThemeDrawFrameAndCaption) {
    FakeTheme();
    const TextSize size = MeasureCaption(L"&Optionen");
    Painted shot(group->Handle());
    EXPECT_EQ(fake::openedClass, L"Button");
    EXPECT_EQ(fake::opened, 1);
    EXPECT_EQ(fake::closed, 1);
    ASSERT_EQ(fake::backgrounds.size(), 1u);
    EXPECT_EQ(fake::backgrounds[0].part, 4);
    EXPECT_EQ(fake::backgrounds[0].state, 1);
    const RECT frame = fake::backgrounds[0].rect;
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, size.zeroHeight / 2);
    EXPECT_EQ(frame.right, 200);
    EXPECT_EQ(frame.bottom, 120);
    ASSERT_EQ(fake::texts.size(), 1u);
    EXPECT_EQ(fake::texts[0].part, 4);
    EXPECT_EQ(fake::texts[0].text, L"&Optionen");
    EXPECT_EQ(fake::texts[0].length, -1);
    EXPECT_EQ(fake::texts[0].flags, static_cast<DWORD>(DT_SINGLELINE));
    const RECT caption = fake::texts[0].rect;
    EXPECT_EQ(caption.left, 7);
    EXPECT_EQ(caption.top, 0);
    EXPECT_EQ(caption.right, 7 + size.captionWidth + 2);
    EXPECT_EQ(caption.bottom, size.zeroHeight);
    // Nothing of the classic frame.
    EXPECT_FALSE(shot.AnyIn(RECT{0, 0, shot.Width(), shot.Height()}, GetSysColor(COLOR_BTNSHADOW)));

    group->SetEnabled(false);
    fake::backgrounds.clear();
    fake::texts.clear();
    Painted disabled(group->Handle());
    ASSERT_EQ(fake::backgrounds.size(), 1u);
    EXPECT_EQ(fake::backgrounds[0].state, 2);
    EXPECT_EQ(fake::texts[0].state, 2);
}

TEST_F(XPControlsTest, ThemeThatCannotBeOpenedOrIsSwitchedOffPaintsClassic) {
    FakeTheme();
    fake::openFails = true;
    Painted noHandle(group->Handle());
    EXPECT_TRUE(fake::backgrounds.empty());
    EXPECT_EQ(fake::closed, 0);
    EXPECT_EQ(noHandle.At(0, 60), GetSysColor(COLOR_BTNSHADOW));

    // Switched off in the desktop settings while running: the next paint is classic.
    fake::openFails = false;
    fake::themeActive = FALSE;
    EXPECT_FALSE(UseThemes());
    Painted off(group->Handle());
    EXPECT_TRUE(fake::backgrounds.empty());
    EXPECT_EQ(off.At(0, 60), GetSysColor(COLOR_BTNSHADOW));
    fake::themeActive = TRUE;
    Painted on(group->Handle());
    EXPECT_EQ(fake::backgrounds.size(), 1u);
}

TEST_F(XPControlsTest, ThemedGroupBoxLetsItsParentsBackgroundThroughButtonChildren) {
    FakeTheme();
    WindowDc dc(group->Handle());
    const auto nullBrush = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    const struct {
        UINT message;
        TWinControl* child;
        bool themed;
    } cases[] = {
        {WM_CTLCOLORSTATIC, check.get(), true},
        {WM_CTLCOLORBTN, button.get(), true},
        {WM_CTLCOLORSTATIC, label.get(), false},
        {WM_CTLCOLOREDIT, label.get(), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        fake::parentBackgrounds.clear();
        const LRESULT brush =
            SendMessageW(group->Handle(), cases[i].message, reinterpret_cast<WPARAM>(dc.get()),
                         reinterpret_cast<LPARAM>(cases[i].child->Handle()));
        if (cases[i].themed) {
            EXPECT_EQ(brush, nullBrush) << "case " << i;
            ASSERT_EQ(fake::parentBackgrounds.size(), 1u) << "case " << i;
            EXPECT_EQ(fake::parentBackgrounds[0], cases[i].child->Handle());
        } else {
            EXPECT_NE(brush, nullBrush) << "case " << i;
            EXPECT_TRUE(fake::parentBackgrounds.empty()) << "case " << i;
        }
    }
    // A window that is no child of the group box gets the normal answer.
    fake::parentBackgrounds.clear();
    EXPECT_NE(SendMessageW(group->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(host->Handle())),
              nullBrush);
    EXPECT_TRUE(fake::parentBackgrounds.empty());

    // Without themes the check box gets the normal answer too.
    NoTheme();
    EXPECT_NE(SendMessageW(group->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(check->Handle())),
              nullBrush);
    EXPECT_TRUE(fake::parentBackgrounds.empty());
}

TEST_F(XPControlsTest, ThemedEraseShowsTheParentAndTheCheckBoxErasesNothing) {
    FakeTheme();
    WindowDc dc(group->Handle());
    EXPECT_EQ(SendMessageW(group->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0),
              1);
    ASSERT_EQ(fake::parentBackgrounds.size(), 1u);
    EXPECT_EQ(fake::parentBackgrounds[0], group->Handle());

    fake::parentBackgrounds.clear();
    UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), 20, 20));
    SelectGuard selected(memory.get(), bitmap.get());
    RECT all{0, 0, 20, 20};
    UniqueBrush marker(CreateSolidBrush(Painted::kMarker));
    FillRect(memory.get(), &all, marker.get());
    EXPECT_EQ(
        SendMessageW(check->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.get()), 0), 1);
    EXPECT_EQ(GetPixel(memory.get(), 5, 5), Painted::kMarker);
    EXPECT_TRUE(fake::parentBackgrounds.empty());

    // Classic: the group box's own grey.
    NoTheme();
    SendMessageW(group->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.get()), 0);
    EXPECT_EQ(GetPixel(memory.get(), 5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(fake::parentBackgrounds.empty());
}

TEST_F(XPControlsTest, DisablingTheGroupBoxKeepsChildrenThatWereDisabledOnTheirOwn) {
    check->Tag = 37;
    label->Tag = 5;
    label->SetEnabled(false);
    group->SetEnabled(false);
    EXPECT_FALSE(check->Enabled());
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(label->Enabled());
    // The mark is bit 24 of the tag.
    EXPECT_EQ(check->Tag, 37 | 16777216);
    EXPECT_EQ(button->Tag, 16777216);
    EXPECT_EQ(label->Tag, 5);

    group->SetEnabled(true);
    EXPECT_TRUE(check->Enabled());
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(label->Enabled()) << "disabled on its own, it stays so";
    EXPECT_EQ(check->Tag, 37);
    EXPECT_EQ(button->Tag, 0);
    EXPECT_EQ(label->Tag, 5);
}

TEST_F(XPControlsTest, AFormHoldsOneThemeMarkerAndRefusesASecond) {
    TForm other(*Application, HostDesign());
    auto first = std::make_unique<TXPThemeAPI>(host.get());
    EXPECT_EQ(first->Owner(), host.get());
    EXPECT_THROW(TXPThemeAPI second(host.get()), EAbortCreation);
    EXPECT_THROW(TXPThemeAPI ownerless(nullptr), EAbortCreation);
    TXPThemeAPI onOther(&other);
    first.reset();
    EXPECT_NO_THROW(TXPThemeAPI again(host.get()));
}
