// The main window in this process, with the program folder, the help system
// and the message boxes taken over by the test.
#include "app/form1.h"
#include "settings/program_objects.h"
#include "main_window_test.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class Form1Test : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // With the old help file beside the program the help goes to WinHelp,
        // which these tests record.
        folder.Write("Tikora.hlp", "");
        seams::SetHelpHandlerForTest([this](const seams::HelpCall& call) {
            helpCalls.push_back(call);
            return true;
        });
    }

    std::vector<seams::HelpCall> helpCalls;
};

TEST_F(Form1Test, CreationFixesTheProgramFolderAndOpensTheSettingsFile) {
    Create();
    EXPECT_EQ(ProgramFolder, folder.Path());
    ASSERT_NE(SettingsFile, nullptr);
    EXPECT_EQ(SettingsFile->FileName(), folder.File("Tikkora.ini"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Test, F1OpensTheHelpContentsAndCloseQuitsTheHelp) {
    TForm1& window = Create();
    window.PreviewKeyDown(VK_F1);
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].file, "Tikora.hlp");
    EXPECT_EQ(helpCalls[0].command, static_cast<UINT>(HELP_CONTENTS));
    // Other keys, with or without modifiers, do nothing.
    window.PreviewKeyDown(VK_F2);
    window.PreviewKeyDown('A');
    EXPECT_EQ(helpCalls.size(), 1u);

    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(helpCalls.size(), 2u);
    EXPECT_EQ(helpCalls[1].command, static_cast<UINT>(HELP_QUIT));
}

TEST_F(Form1Test, CloseWithoutHelpDoesNotCallTheHelpSystem) {
    TForm1& window = Create();
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(helpCalls.empty());
}

TEST_F(Form1Test, CloseStoresThePositionAndReleasesTheSettingsFile) {
    TForm1& window = Create();
    window.SetPosition(123, 45);
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(SettingsFile, nullptr);
    std::string text = folder.Read("Tikkora.ini");
    EXPECT_NE(text.find("UhrposX=123"), std::string::npos) << text;
    EXPECT_NE(text.find("UhrposY=45"), std::string::npos) << text;
}

TEST_F(Form1Test, CloseInTheTaskbarStyleKeepsTheStoredPosition) {
    folder.Write("Tikkora.ini", "[Clock]\r\nUhrposX=10\r\nUhrposY=20\r\n");
    TForm1& window = Create();
    Probe().Item("In die &Taskleiste").SetChecked(true);
    window.SetPosition(300, 300);
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    std::string text = folder.Read("Tikkora.ini");
    EXPECT_NE(text.find("UhrposX=10"), std::string::npos) << text;
    EXPECT_NE(text.find("UhrposY=20"), std::string::npos) << text;
}

TEST_F(Form1Test, BackgroundDragsAndTheFrameHasNoTitleBar) {
    TForm1& window = Create();
    RECT r;
    GetWindowRect(window.Handle(), &r);
    POINT inside{r.left + 5, r.top + 5};
    EXPECT_EQ(SendMessageW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)),
              HTCAPTION);
    LONG style = GetWindowLongW(window.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_SYSMENU | WS_DLGFRAME),
              WS_POPUP | WS_BORDER | WS_SYSMENU);
    // The standard window's outer size.
    EXPECT_EQ(window.Width(), 154);
    EXPECT_EQ(window.Height(), 69);
}

TEST_F(Form1Test, StatusBackMakesTheWindowNormal) {
    folder.Write("Tikkora.ini", "[Clock]\r\nStatus=Back\r\n");
    TForm1& window = Create();
    EXPECT_FALSE(Probe().Item("&Immer im Vordergrund").Checked());
    EXPECT_FALSE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The owner survives the detour that clears the flag.
    EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), Application->Handle());
}

TEST_F(Form1Test, RefusedWritesAreReportedAndTheWindowStillCloses) {
    ASSERT_TRUE(CreateDirectoryW(Widen(folder.File("Tikkora.ini")).c_str(), nullptr));
    TForm1& window = Create();
    // Start-up stores the analog mode and the style; told once, and the window is whole.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(Probe().Item("Standard").Checked());
    EXPECT_EQ(window.Width(), 154);
    EXPECT_EQ(window.Top(), 0);
    EXPECT_TRUE(Probe().Glyphs(ClockRow::Large)[1] != -1);
    EXPECT_EQ(boxes[0].text, "Unable to write to " + folder.File("Tikkora.ini"));
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Unable to write to " + folder.File("Tikkora.ini"));
    EXPECT_EQ(SettingsFile, nullptr);
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
}

TEST_F(Form1Test, NothingThatATickReachesIsUsedAfterTheClose) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nStunde=00\r\nMinute=00\r\nAktivMode=1\r\n");
    LocalTime midnight{2024, 3, 1, 0, 0, 0};
    seams::SetClockForTest([&] { return midnight; });
    TForm1& window = Create();
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(SettingsFile, nullptr);
    ASSERT_EQ(GlyphBitmap, nullptr);
    EXPECT_FALSE(Probe().ClockTicking()) << "the ticks must stop with the close";
    const std::string before = folder.Read("Tikkora.ini");
    boxes.clear();
    // A tick that was already on its way, at the alarm second.
    Probe().Tick();
    Probe().ClockTick();
    EXPECT_EQ(folder.Read("Tikkora.ini"), before);
    EXPECT_TRUE(boxes.empty());
}
