// The about box in this process: its picture against its layout table, the
// closing by Escape and by the cross, and what its links do in and out of
// help mode.
#include "about/form3.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include "printed.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLightBlue = RGB(179, 208, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Ends a modal loop that should have ended by itself.
TForm3* watched = nullptr;
bool watchdogFired = false;
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    watchdogFired = true;
    watched->SetModalResult(IDABORT);
}

struct HelpRequest {
    int context;
    POINT at;
};

} // namespace

class AboutBoxTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    void SetUp() override {
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
        AboutBoxLinks links;
        links.contextHelp = [this](int context, POINT at) { menus.push_back({context, at}); };
        links.helpPopup = [this](int context, POINT at) { popups.push_back({context, at}); };
        links.termsOfUse = [this] { ++termsShown; };
        links.openAddress = [this](const std::string& address) {
            opened.push_back(address);
            return openSucceeds;
        };
        box = std::make_unique<TForm3>(*Application, std::move(links));
        box->CreateHandle();
        ASSERT_NE(box->Handle(), nullptr);
    }
    void TearDown() override { box.reset(); }

    void Click(int x, int y) {
        SendMessageW(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(box->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    POINT Centre(AboutElement link) const {
        const RECT r = box->LinkBounds(link);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    std::unique_ptr<TForm3> box;
    std::vector<seams::MessageBoxCall> boxes;
    std::vector<HelpRequest> menus, popups;
    std::vector<std::string> opened;
    int termsShown = 0;
    bool openSucceeds = true;
};

TEST_F(AboutBoxTest, ShownCentredItsPictureMatchesItsTable) {
    box->Show();
    const RECT bounds = box->BoundsRect();
    EXPECT_EQ(bounds.right - bounds.left, 353);
    EXPECT_EQ(bounds.bottom - bounds.top, 311);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - 353) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - 311) / 2);
    EXPECT_EQ(GetWindowLongW(box->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

    const Printed shot(box->Handle(), 353, 311);
    struct Expected {
        const char* what;
        int x, y;
        COLORREF color;
    } points[] = {
        {"frame top left", 0, 0, kBlack},
        {"frame top", 200, 0, kBlack},
        {"frame left", 0, 150, kBlack},
        {"frame bottom right", 352, 310, kBlack},
        {"frame right", 352, 150, kBlack},
        {"face", 340, 150, kWhite},
        {"face under the tab", 307, 17, kWhite},
        {"strip, left band", 1, 150, kLightBlue},
        {"strip, right band", 70, 150, kWhite},
        {"tab", 351, 17, kBlack},
        {"tab between the squares", 337, 9, kBlack},
        {"question square corner", 323, 2, kBlack},
        {"cross square corner", 350, 14, kBlack},
        {"cross centre", 344, 8, kWhite},
    };
    for (const Expected& p : points) {
        EXPECT_EQ(shot.At(p.x, p.y), p.color) << p.what << " at " << p.x << "," << p.y;
    }
    // The band right of the one-pixel left band is already a step lighter.
    EXPECT_NE(shot.At(2, 150), kLightBlue);
    EXPECT_GT(shot.Count(RECT{323, 2, 336, 15}, kWhite), 5) << "question mark";
    // The links are blue and underlined: their last row is nearly all blue.
    for (AboutElement link : {AboutElement::Terms, AboutElement::Web, AboutElement::Mail}) {
        const RECT r = box->LinkBounds(link);
        EXPECT_GT(r.right - r.left, 60) << static_cast<int>(link);
        EXPECT_GT(shot.Count(r, kBlue), 40) << static_cast<int>(link);
        int underlineRow = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            underlineRow =
                std::max(underlineRow, shot.Count(RECT{r.left, y, r.right, y + 1}, kBlue));
        }
        EXPECT_GE(underlineRow, (r.right - r.left) * 9 / 10) << static_cast<int>(link);
    }
    EXPECT_GT(shot.Count(RECT{84, 24, 200, 50}, kBlack), 50) << "title";
    EXPECT_GT(shot.Count(RECT{84, 199, 327, 237}, kBlack), 200) << "disclaimer";
    EXPECT_EQ(shot.Count(RECT{72, 1, 352, 310}, kLightBlue), 0) << "strip stays in its place";
}

TEST_F(AboutBoxTest, EscapeAndTheCrossCloseIt) {
    watched = box.get();
    watchdogFired = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20000, Watchdog);
    PostMessageW(box->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    const int result = box->ShowModal();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(watchdogFired);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(box->Visible());

    box->Show();
    ASSERT_TRUE(box->Visible());
    SendMessageW(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(344, 8));
    EXPECT_FALSE(box->Visible());
}

TEST_F(AboutBoxTest, LinksOpenOutsideHelpModeAndShowTheirTopicInside) {
    box->Show();
    const POINT web = Centre(AboutElement::Web);
    const POINT mail = Centre(AboutElement::Mail);
    const POINT terms = Centre(AboutElement::Terms);

    Click(web.x, web.y);
    Click(mail.x, mail.y);
    EXPECT_EQ(opened,
              (std::vector<std::string>{"www.tikkora.example", "mailto:info@tikkora.example"}));
    EXPECT_TRUE(popups.empty());

    // "?" then the web link: its pop-up at its corner, nothing opened, help mode over.
    Click(329, 8);
    EXPECT_TRUE(box->HelpMode());
    Click(web.x, web.y);
    EXPECT_FALSE(box->HelpMode());
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].context, 11);
    POINT corner{box->LinkBounds(AboutElement::Web).left, box->LinkBounds(AboutElement::Web).top};
    ClientToScreen(box->Handle(), &corner);
    EXPECT_EQ(popups[0].at.x, corner.x);
    EXPECT_EQ(popups[0].at.y, corner.y);
    EXPECT_EQ(opened.size(), 2u);

    Click(329, 8);
    Click(mail.x, mail.y);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[1].context, 12);

    // A press on the face, the strip or the icon only ends help mode.
    for (POINT face : {POINT{300, 150}, POINT{5, 300}, POINT{30, 40}}) {
        Click(329, 8);
        SendMessageW(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(face.x, face.y));
        EXPECT_FALSE(box->HelpMode()) << face.x << "," << face.y;
    }
    // The terms of use open in help mode all the same.
    Click(329, 8);
    Click(terms.x, terms.y);
    EXPECT_EQ(termsShown, 1);
    EXPECT_FALSE(box->HelpMode());
    EXPECT_EQ(popups.size(), 2u);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AboutBoxTest, AFailedOpenIsToldAndTheContextMenuKnowsTheLink) {
    box->Show();
    openSucceeds = false;
    const POINT web = Centre(AboutElement::Web);
    Click(web.x, web.y);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("www.tikkora.example"), std::string::npos);
    EXPECT_NE(boxes[0].text.find("konnte nicht geöffnet werden"), std::string::npos);
    EXPECT_EQ(boxes[0].caption, "Tikkora");

    struct Case {
        AboutElement link;
        int context;
    } cases[] = {{AboutElement::Web, 11}, {AboutElement::Mail, 12}, {AboutElement::Terms, 0}};
    for (const Case& c : cases) {
        POINT at = Centre(c.link);
        ClientToScreen(box->Handle(), &at);
        SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()),
                     MAKELPARAM(at.x, at.y));
        ASSERT_FALSE(menus.empty());
        EXPECT_EQ(menus.back().context, c.context);
        EXPECT_EQ(menus.back().at.x, at.x);
    }
    POINT face{300, 150};
    ClientToScreen(box->Handle(), &face);
    SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()),
                 MAKELPARAM(face.x, face.y));
    EXPECT_EQ(menus.size(), 3u);
}
