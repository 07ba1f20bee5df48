// The rich text viewer in this process: the shared library's reference
// count, the variants' window classes, and what a link click opens.
#include "controls/richedit_viewer.h"
#include "controls/richedit_viewer_rules.h"
#include "pump.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct ParentWindow {
    HWND handle = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                  nullptr, nullptr);
    ~ParentWindow() { DestroyWindow(handle); }
};

class TestViewer : public TRichEditViewer {
  public:
    explicit TestViewer(HWND parent) : TRichEditViewer(nullptr, parent, 0, 0, 282, 231, 7) {}
    // A link notification as the control sends it for mouse message msg.
    void LinkEvent(UINT msg, LONG first, LONG last) {
        ENLINK link{};
        link.nmhdr = {Handle(), 7, EN_LINK};
        link.msg = msg;
        link.chrg = {first, last};
        Notify(link.nmhdr);
    }
};

// A window that hands its controls' notifications back to them, as the dialogs do.
class NotesForm : public TForm {
  public:
    NotesForm() : TForm(*Application, Design()) {}

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (message == WM_NOTIFY &&
            TWinControl::ReflectNotification(message, wParam, lParam, result)) {
            return result;
        }
        return TForm::HandleMessage(message, wParam, lParam);
    }

  private:
    static FormDesign Design() {
        FormDesign design;
        design.className = L"TestNotesForm";
        design.left = 100;
        design.top = 100;
        design.clientWidth = 300;
        design.clientHeight = 250;
        return design;
    }
};

} // namespace

TEST(RichEditViewer, TheLibraryIsHeldOnceByEachRichViewerAndFreedWithTheLast) {
    ParentWindow parent;
    ASSERT_EQ(TRichEditViewer::LibraryUseCount(), 0);
    auto first = std::make_unique<TestViewer>(parent.handle);
    auto second = std::make_unique<TestViewer>(parent.handle);
    EXPECT_EQ(TRichEditViewer::LibraryUseCount(), 2);
    EXPECT_TRUE(TRichEditViewer::LibraryLoaded());
    EXPECT_EQ(TRichEditViewer::LibraryVersion(), 2);
    EXPECT_EQ(first->WindowClassName(), RICHEDIT_CLASSW);

    // The plain variant gives its reference back and keeps the text.
    first->SetText("Hallo");
    first->SetUseRichEdit(false);
    EXPECT_FALSE(first->HoldsLibrary());
    EXPECT_EQ(TRichEditViewer::LibraryUseCount(), 1);
    EXPECT_EQ(_wcsicmp(first->WindowClassName().c_str(), L"Edit"), 0);
    EXPECT_EQ(first->Text(), "Hallo");
    first->SetUseRichEdit(true);
    EXPECT_EQ(TRichEditViewer::LibraryUseCount(), 2);

    second.reset();
    EXPECT_EQ(TRichEditViewer::LibraryUseCount(), 1);
    EXPECT_TRUE(TRichEditViewer::LibraryLoaded());
    first.reset();
    EXPECT_EQ(TRichEditViewer::LibraryUseCount(), 0);
    EXPECT_FALSE(TRichEditViewer::LibraryLoaded());
}

TEST(RichEditViewer, RichTextShowsFormattedAndABombIsNotShown) {
    ParentWindow parent;
    TestViewer viewer(parent.handle);
    viewer.SetText("{\\rtf1 {\\b Neu} in 3.0}");
    EXPECT_EQ(viewer.Text(), "Neu in 3.0");
    const std::string bomb =
        "{\\rtf1 " + std::string(5000, '{') + "x" + std::string(5000, '}') + "}";
    viewer.SetText(bomb);
    EXPECT_EQ(viewer.Text(), kUnshownRichText);
    viewer.SetText("Gr\xfc\xdf"
                   "e");
    EXPECT_EQ(viewer.Text(), "Grüße");
}

TEST(RichEditViewer, TextsOver64KbAreShownWhole) {
    ParentWindow parent;
    TestViewer viewer(parent.handle);
    // Not much more: Wine's control takes seconds for every further 64 KB.
    std::string plain;
    while (plain.size() <= 64 * 1024) {
        plain += "Neu in 3.0: vieles. ";
    }
    viewer.SetText(plain);
    EXPECT_EQ(viewer.Text().size(), plain.size());
    viewer.SetText("{\\rtf1 " + plain + "}");
    EXPECT_EQ(viewer.Text().size(), plain.size());
}

TEST(RichEditViewer, ALinkOpensOnceOnButtonDownAndOnlyWhenItIsSafe) {
    seams::TestSeams seams;
    std::vector<seams::ShellCall> calls;
    seams::SetShellHandlerForTest([&](const seams::ShellCall& call) {
        calls.push_back(call);
        return true;
    });
    ParentWindow parent;
    TestViewer viewer(parent.handle);
    const std::string text = "Siehe http://example.de/neu und file:///C:/x.exe";
    viewer.SetText(text);
    const LONG web = static_cast<LONG>(text.find("http"));
    const LONG webEnd = static_cast<LONG>(text.find(" und"));
    const LONG file = static_cast<LONG>(text.find("file"));

    for (UINT msg : {UINT(WM_MOUSEMOVE), UINT(WM_LBUTTONUP), UINT(WM_SETCURSOR)}) {
        viewer.LinkEvent(msg, web, webEnd);
    }
    EXPECT_TRUE(calls.empty());
    viewer.LinkEvent(WM_LBUTTONDOWN, web, webEnd);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, "http://example.de/neu");
    EXPECT_EQ(calls[0].operation, "open");
    EXPECT_EQ(calls[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(calls[0].owner, viewer.Handle());

    viewer.LinkEvent(WM_LBUTTONDOWN, file, static_cast<LONG>(text.size()));
    EXPECT_EQ(calls.size(), 1u);
    viewer.SetText("mailto:info@example.de");
    viewer.LinkEvent(WM_LBUTTONDOWN, 0, -1);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].file, "mailto:info@example.de");
}

TEST(RichEditViewer, AMouseClickOnADetectedAddressOpensItOnce) {
    seams::TestSeams seams;
    std::vector<std::string> opened;
    seams::SetShellHandlerForTest([&](const seams::ShellCall& call) {
        opened.push_back(call.file);
        return true;
    });
    NotesForm form;
    form.CreateHandle();
    TestViewer viewer(form.Handle());
    form.Show();
    viewer.SetText("Mehr unter http://example.de/neu heute");
    POINTL at{};
    SendMessageW(viewer.Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 14);
    POINT point{at.x + 2, at.y + 4};
    ClientToScreen(viewer.Handle(), &point);
    SetForegroundWindow(form.Handle());
    SetCursorPos(point.x, point.y);
    PumpUntil([&] { return GetForegroundWindow() == form.Handle(); }, 5000);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    // Both halves of the click are queued now; the pump takes them all.
    PumpUntil([&] { return !opened.empty(); }, 5000);
    EXPECT_EQ(opened, std::vector<std::string>{"http://example.de/neu"});
}
