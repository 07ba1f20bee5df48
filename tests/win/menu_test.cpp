// The main window's context menu in this process: the menu a user sees
// (read back from the open platform menu), what each command asks of the
// outside world, the help in its good and bad cases, and the commands while
// a box of the program is up.
#include "about/form3.h"
#include "about/help_topics_rules.h"
#include "app/form1.h"
#include "main_window_test.h"
#include "pump.h"
#include "settings/program_objects.h"
#include "toolkit/wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct ShownItem {
    std::string caption; // "-" for a separator
    bool checked;
    bool radio;
    bool grayed;
};

// Filled from inside the menu's loop by ReadOpenMenu.
std::vector<ShownItem> shownItems;
bool menuSeen = false;

std::vector<ShownItem> ReadMenu(HMENU menu) {
    std::vector<ShownItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const bool separator = info.fType & MFT_SEPARATOR;
        items.push_back({separator ? "-" : Narrow(text), (info.fState & MFS_CHECKED) != 0,
                         (info.fType & MFT_RADIOCHECK) != 0, (info.fState & MFS_GRAYED) != 0});
    }
    return items;
}

// Reads the menu that is open and closes it again.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND menuWindow = FindWindowW(L"#32768", nullptr);
        menuWindow && IsWindowVisible(menuWindow)) {
        menuSeen = true;
        if (auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0))) {
            shownItems = ReadMenu(menu);
        }
    }
    EndMenu();
}

// Chooses the first item of the open menu.
HWND menuOwner = nullptr;
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageW(menuOwner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuOwner, WM_KEYDOWN, VK_RETURN, 0);
}

// F1 on the item so many places down in the open menu, then Escape.
int downsBeforeF1 = 0;
void CALLBACK HelpOnHighlightedItem(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (int i = 0; i < downsBeforeF1; ++i) {
        PostMessageW(menuOwner, WM_KEYDOWN, VK_DOWN, 0);
    }
    PostMessageW(menuOwner, WM_KEYDOWN, VK_F1, 0);
    PostMessageW(menuOwner, WM_KEYDOWN, VK_ESCAPE, 0);
}

// Escape for the about box from inside its modal loop, after trying to open
// it a second time.
TForm1* opener = nullptr;
bool aboutVisibleInside = false;
void CALLBACK OpenAgainThenEscape(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    aboutVisibleInside = Form3 && Form3->Visible();
    TMainWindowProbe(*opener).Choose("Inf&o...");
    if (Form3) {
        PostMessageW(Form3->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
}
// Ends a modal loop that should have ended by itself.
bool rescued = false;
void CALLBACK Rescue(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    rescued = true;
    if (Form3) {
        Form3->SetModalResult(IDABORT);
    }
}

} // namespace

class MenuTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        seams::SetHtmlHelpHandlerForTest([this](const HtmlHelpRequest& request) {
            help.push_back(request);
            return helpSucceeds;
        });
        seams::SetShellHandlerForTest([this](const seams::ShellCall& call) {
            shell.push_back(call);
            return true;
        });
        seams::SetHelpHandlerForTest([this](const seams::HelpCall& call) {
            oldHelp.push_back(call);
            return true;
        });
        seams::SetSoundRecorderForTest([](const seams::SoundCall&) {});
        shownItems.clear();
        menuSeen = false;
    }
    void TearDown() override {
        about.reset();
        MainWindowTest::TearDown();
    }
    TForm1& Create(const std::string& settings) {
        folder.Write("Tikkora.ini", settings);
        return MainWindowTest::Create();
    }
    TForm3& CreateAbout() {
        about = std::make_unique<TForm3>(*Application, form->LinksForAboutBox());
        about->CreateHandle();
        return *about;
    }
    // A right click of the mouse on window near its corner, and the menu it opened.
    void RightClick(HWND window) {
        POINT at{2, 2};
        ClientToScreen(window, &at);
        SetCursorPos(at.x, at.y);
        INPUT click[2] = {{INPUT_MOUSE, {}}, {INPUT_MOUSE, {}}};
        click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(2, click, sizeof(INPUT));
        menuSeen = false;
        SetTimer(nullptr, 0, 100, ReadOpenMenu);
        PumpUntil([] { return menuSeen; }, 5000);
    }
    std::string Stored(const char* section, const char* key) {
        wchar_t value[64];
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"<none>", value, 64,
                                 Widen(folder.File("Tikkora.ini")).c_str());
        return Narrow(value);
    }

    std::unique_ptr<TForm3> about;
    std::vector<HtmlHelpRequest> help;
    std::vector<seams::ShellCall> shell;
    std::vector<seams::HelpCall> oldHelp;
    bool helpSucceeds = true;
};

TEST_F(MenuTest, RightClickShowsEveryItemWithTheStoredChecks) {
    TForm1& window = Create("[Clock]\r\nDisplay=LEDRot\r\nStyle=Mini\r\nStatus=Back\r\n"
                            "[OnlineUpdate]\r\nAuto=0\r\n");
    // caption, checked, radio, grayed
    const std::vector<ShownItem> expected = {
        {"&Wecker...", false, false, false},
        {"&Uhr stellen...", false, false, false},
        {"-", false, false, false},
        {"&Immer im Vordergrund", false, false, false},
        {"&Analoguhr", false, false, false},
        {"-", false, false, false},
        {"Stan&dard", false, false, false},
        {"&Mini", true, true, false},
        {"In die &Taskleiste", false, false, false},
        {"-", false, false, false},
        {"&LCD -Display", false, false, false},
        {"LCD -Display &bel.", false, false, false},
        {"LED -Display &Grün", false, false, false},
        {"LED -Display &Rot", true, true, false},
        {"LED -Pu&nktmatrix", false, false, false},
        {"&Klappziffer -Display", false, false, false},
        {"-", false, false, false},
        {"&Hilfethehmen", false, false, false},
        {"Inf&o...", false, false, false},
        {"Online-U&pdate", false, false, false},
        {"Auto -Updat&e", false, false, false},
        {"-", false, false, false},
        {"Uhr &schließen", false, false, false},
    };
    window.Show();
    // Anywhere on the clock: the small row, the bare window, the menu button.
    for (HWND clicked : {Probe().Window(ClockRow::Small), window.Handle(), Probe().MenuButton()}) {
        SCOPED_TRACE(clicked == window.Handle() ? "window" : "child");
        shownItems.clear();
        RightClick(clicked);
        ASSERT_EQ(shownItems.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i].caption);
            EXPECT_EQ(shownItems[i].caption, expected[i].caption);
            if (expected[i].caption == "-") {
                continue; // the platform's own state of a separator
            }
            EXPECT_EQ(shownItems[i].checked, expected[i].checked);
            // Radio marks show on the checked items of the two radio groups.
            EXPECT_EQ(shownItems[i].radio, expected[i].radio);
            EXPECT_EQ(shownItems[i].grayed, expected[i].grayed);
        }
    }
    // A checked style or display unchecks the others of its kind and nothing else.
    const std::vector<std::vector<std::string>> kinds = {
        {"Stan&dard", "&Mini", "In die &Taskleiste"},
        {"&LCD -Display", "LCD -Display &bel.", "LED -Display &Grün", "LED -Display &Rot",
         "LED -Pu&nktmatrix", "&Klappziffer -Display"}};
    const std::vector<TMenuItem*>& items = Probe().Menu().Items.Items();
    auto checked = [&] {
        std::set<std::string> captions;
        for (const TMenuItem* item : items) {
            if (item->Checked()) {
                captions.insert(item->Caption);
            }
        }
        return captions;
    };
    for (const std::vector<std::string>& kind : kinds) {
        for (const std::string& caption : kind) {
            SCOPED_TRACE(caption);
            std::set<std::string> expected = checked();
            for (const std::string& other : kind) {
                expected.erase(other);
            }
            expected.insert(caption);
            auto item = std::find_if(items.begin(), items.end(),
                                     [&](const TMenuItem* i) { return i->Caption == caption; });
            ASSERT_NE(item, items.end());
            (*item)->SetChecked(true);
            EXPECT_EQ(checked(), expected);
        }
    }
}

TEST_F(MenuTest, AnalogClockGreyedInTheTaskbarStyleAndTheButtonDropsTheMenu) {
    // No taskbar clock area here: the clock waits for one in the mini window.
    TForm1& window = Create("[Clock]\r\nStyle=Taskbar\r\n");
    ASSERT_TRUE(Probe().Item("In die &Taskleiste").Checked());
    RightClick(Probe().Window(ClockRow::Small));
    ASSERT_EQ(shownItems.size(), 23u);
    EXPECT_EQ(shownItems[4].caption, "&Analoguhr");
    EXPECT_TRUE(shownItems[4].grayed);
    EXPECT_TRUE(shownItems[8].checked);

    // The menu button, as the window has it and again once it is made anew.
    for (bool madeAnew : {false, true}) {
        SCOPED_TRACE(madeAnew ? "made anew" : "first window");
        if (madeAnew) {
            DestroyWindow(window.Handle());
            Probe().TaskbarTick();
            ASSERT_NE(window.Handle(), nullptr);
        }
        HWND button = Probe().MenuButton();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(GetParent(button), Probe().Window(ClockRow::MenuButton));
        // Where the window really is in its panel, not where the object says.
        RECT r;
        GetWindowRect(button, &r);
        MapWindowPoints(nullptr, Probe().Window(ClockRow::MenuButton), reinterpret_cast<POINT*>(&r),
                        2);
        EXPECT_EQ(r.left, 1);
        EXPECT_EQ(r.top, 1);
        EXPECT_EQ(r.right - r.left, 14);
        EXPECT_EQ(r.bottom - r.top, 10);
        const auto& shown = *static_cast<TExplorerButton*>(TWindow::FromHandle(button));
        EXPECT_EQ(shown.Alignment(), TAlignment::taRightJustify);
        EXPECT_EQ(shown.DropDownMenu(), &Probe().Menu());
        EXPECT_EQ(shown.PopupMenu, &Probe().Menu());
        EXPECT_EQ(Probe().Menu().Items.Items().size(), 23u);
        EXPECT_EQ(Probe().HelpMenu().Items.Items().size(), 1u);
    }
}

TEST_F(MenuTest, F1ShowsTheHighlightedItemsTopic) {
    {
        // As the menu is built, before a stored state: the window is made on top.
        TForm1 built(*Application);
        EXPECT_TRUE(TMainWindowProbe(built).Item("&Immer im Vordergrund").Checked());
    }
    TForm1& window = Create("[Clock]\r\nStyle=Standard\r\n");
    menuOwner = window.Handle();
    for (auto [downs, page] : {std::pair{1, "wecker.htm"}, {5, "standard.htm"}}) {
        SCOPED_TRACE(page);
        help.clear();
        downsBeforeF1 = downs;
        SetTimer(nullptr, 0, 100, HelpOnHighlightedItem);
        Probe().OpenMenu(window.Left(), window.Top());
        ASSERT_EQ(help.size(), 1u);
        EXPECT_EQ(help[0].command, HtmlHelpCommand::Topic);
        EXPECT_EQ(help[0].file, folder.File("Tikkora.chm"));
        EXPECT_EQ(help[0].page, page);
    }
}

TEST_F(MenuTest, CommandsAskTheShellTheHelpAndTheSettingsFile) {
    TForm1& window = Create("[Clock]\r\nStyle=Standard\r\n");
    Probe().Item("&Uhr stellen...").Click();
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "open");
    EXPECT_EQ(shell[0].file, "rundll32.exe");
    EXPECT_EQ(shell[0].parameters, "shell32.dll,Control_RunDLL timedate.cpl");
    EXPECT_EQ(shell[0].show, SW_SHOW);

    // "&Hilfethehmen" and F1 both open the contents of the help beside the program.
    Probe().Item("&Hilfethehmen").Click();
    window.PreviewKeyDown(VK_F1);
    ASSERT_EQ(help.size(), 2u);
    for (const HtmlHelpRequest& request : help) {
        EXPECT_EQ(request.command, HtmlHelpCommand::Contents);
        EXPECT_EQ(request.file, folder.File("Tikkora.chm"));
    }
    // The terms of use from the about box.
    window.LinksForAboutBox().termsOfUse();
    ASSERT_EQ(help.size(), 3u);
    EXPECT_EQ(help[2].command, HtmlHelpCommand::Topic);
    EXPECT_EQ(help[2].page, "nutzungsbedingungen.htm");

    EXPECT_TRUE(Probe().Item("Auto -Update").Checked());
    for (const char* stored : {"0", "1"}) {
        Probe().Item("Auto -Update").Click();
        EXPECT_EQ(Stored("OnlineUpdate", "Auto"), stored);
        EXPECT_EQ(Probe().Item("Auto -Update").Checked(), stored[0] == '1');
    }
    EXPECT_TRUE(oldHelp.empty());
    EXPECT_TRUE(boxes.empty());

    // Closing asks the viewers to close and stores the position.
    window.SetPosition(210, 120);
    Probe().Item("Uhr &schließen").Click();
    EXPECT_EQ(SettingsFile, nullptr) << "not closed";
    EXPECT_EQ(help.back().command, HtmlHelpCommand::CloseAll);
    EXPECT_EQ(Stored("Clock", "UhrposX"), "210");
    EXPECT_EQ(Stored("Clock", "UhrposY"), "120");
}

TEST_F(MenuTest, HelpPopupsForKnownUnknownAndMissingTopics) {
    TForm1& window = Create("");
    CreateAbout();
    const AboutBoxLinks links = window.LinksForAboutBox();
    const POINT at{40, 50};
    struct Case {
        int context;
        std::string text;
    };
    const std::string none = "Zu diesem Element gibt es keine Hilfe.";
    const Case cases[] = {{11, "Die Internetseite des Herstellers. Ein Klick öffnet sie in Ihrem "
                               "Webbrowser; dort finden Sie Neuigkeiten und neue Versionen von "
                               "Tikkora."},
                          {0, none},
                          {999, none},
                          {-3, none}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        help.clear();
        links.helpPopup(c.context, at);
        ASSERT_EQ(help.size(), 1u);
        EXPECT_EQ(help[0].command, HtmlHelpCommand::TextPopup);
        EXPECT_EQ(help[0].text, c.text);
        EXPECT_EQ(help[0].at.x, at.x);
        EXPECT_EQ(help[0].at.y, at.y);
    }

    // The alarm dialog's help asks the application, with the corner first;
    // a corner left of the primary screen stays negative.
    help.clear();
    Application->HelpCommand(HELP_SETPOPUP_POS,
                             static_cast<ULONG_PTR>(MAKELONG(static_cast<WORD>(-5), 8)));
    Application->HelpCommand(HELP_CONTEXTPOPUP, 33);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].text, HelpPopupText(33));
    EXPECT_EQ(help[0].at.x, -5);
    EXPECT_EQ(help[0].at.y, 8);

    // "&Direkthilfe" from the about box: its link has no control to carry the number.
    help.clear();
    menuOwner = about->Handle();
    SetTimer(nullptr, 0, 100, ChooseFirstItem);
    links.contextHelp(12, at);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].text, HelpPopupText(12));
    EXPECT_EQ(help[0].at.x, at.x);

    // A viewer without text pop-ups: the text comes as a message.
    helpSucceeds = false;
    links.helpPopup(12, at);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, HelpPopupText(12));
    EXPECT_EQ(boxes[0].caption, "Tikkora");
}

TEST_F(MenuTest, MissingHelpFileIsReportedAndAnOldOneGoesToWinHelp) {
    TForm1& window = Create("");
    // The real viewer, which must not be started for a file that is not there.
    seams::SetHtmlHelpHandlerForTest(nullptr);
    window.PreviewKeyDown(VK_F1);
    window.LinksForAboutBox().termsOfUse();
    ASSERT_EQ(boxes.size(), 2u);
    for (const seams::MessageBoxCall& box : boxes) {
        EXPECT_NE(box.text.find("Tikkora.chm"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("fehlt"), std::string::npos) << box.text;
        EXPECT_EQ(box.caption, "Tikkora");
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    }

    folder.Write("Tikora.hlp", "");
    Probe().Item("&Hilfethehmen").Click();
    window.LinksForAboutBox().helpPopup(11, POINT{5, 6});
    Probe().HelpMenu().PopupComponent = nullptr;
    Probe().HelpMenu().Items.Items()[0]->Click();
    ASSERT_EQ(oldHelp.size(), 4u);
    EXPECT_EQ(oldHelp[0].file, "Tikora.hlp");
    EXPECT_EQ(oldHelp[0].command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(oldHelp[1].command, static_cast<UINT>(HELP_SETPOPUP_POS));
    EXPECT_EQ(oldHelp[2].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
    EXPECT_EQ(oldHelp[2].data, 11u);
    EXPECT_EQ(oldHelp[3].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(MenuTest, AboutBoxOpensModallyOnceAndTheMainWindowReturnsOnTop) {
    TForm1& window = Create("[Clock]\r\nStyle=Standard\r\nStatus=Top\r\n");
    CreateAbout();
    opener = &window;
    rescued = false;
    aboutVisibleInside = false;
    SetTimer(nullptr, 0, 100, OpenAgainThenEscape);
    const UINT_PTR rescue = SetTimer(nullptr, 0, 10000, Rescue);
    Probe().Item("Inf&o...").Click();
    KillTimer(nullptr, rescue);
    EXPECT_TRUE(aboutVisibleInside);
    EXPECT_FALSE(rescued) << "the second opening started a loop of its own";
    EXPECT_FALSE(about->Visible());
    EXPECT_TRUE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

class MenuDuringAlarmTest : public MenuTest {
  protected:
    void OnMessageBox(const seams::MessageBoxCall&) override {
        rescued = false;
        const UINT_PTR rescue = SetTimer(nullptr, 0, 5000, Rescue);
        Probe().Choose("Inf&o...");
        KillTimer(nullptr, rescue);
        aboutShownDuringBox = rescued;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, ReadOpenMenu);
        RECT r;
        GetWindowRect(Probe().Window(ClockRow::Large), &r);
        SendMessageW(Probe().Window(ClockRow::Large), WM_CONTEXTMENU, 0,
                     MAKELPARAM(r.left + 2, r.top + 2));
        KillTimer(nullptr, timer);
        // The menu button, pressed and right-clicked.
        HWND button = Probe().MenuButton();
        for (UINT message : {WM_LBUTTONDOWN, WM_CONTEXTMENU}) {
            const UINT_PTR closer = SetTimer(nullptr, 0, 100, ReadOpenMenu);
            SendMessageW(button, message, 0, message == WM_CONTEXTMENU ? -1 : MAKELPARAM(3, 3));
            KillTimer(nullptr, closer);
        }
        ++boxesSeen;
    }
    bool aboutShownDuringBox = false;
    int boxesSeen = 0;
};

TEST_F(MenuDuringAlarmTest, NeitherMenuNorButtonNorAboutBoxOpensWhileTheAlarmBoxIsUp) {
    Create("[Clock]\r\nStyle=Standard\r\n[Wecker]\r\nStunde=12\r\nMinute=00\r\n"
           "Aktiv=1\r\nMeldung=Mittag\r\n");
    CreateAbout();
    now = {2024, 3, 1, 12, 0, 0};
    Probe().Tick();
    Application->ProcessMessages();
    ASSERT_EQ(boxesSeen, 1);
    EXPECT_FALSE(aboutShownDuringBox);
    EXPECT_FALSE(menuSeen);
}
