// The application object: its hidden window, the standard error report, and
// the nested loop of modal forms.
#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/form.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ThrowingForm : public TForm {
  public:
    explicit ThrowingForm(TApplication& application)
        : TForm(application, FormDesign{L"TThrowingForm", "", 10, 10, 50, 50}) {}
    // Another window whose state is recorded when the modal result arrives.
    HWND watched = nullptr;
    bool watchedWasEnabled = true;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            throw Exception("Etwas ging schief");
        }
        if (message == WM_APP + 1) {
            throw 42;
        }
        if (message == WM_APP + 2) {
            watchedWasEnabled = watched && IsWindowEnabled(watched);
            SetModalResult(static_cast<int>(wParam));
            return 0;
        }
        return TForm::HandleMessage(message, wParam, lParam);
    }
};

// A form one of whose parts cannot be made.
class BrokenForm : public TForm {
  public:
    explicit BrokenForm(TApplication& application)
        : TForm(application, FormDesign{L"TBrokenForm", "", 10, 10, 50, 50}) {}

  protected:
    void CreateComponents() override { throw Exception("Der Knopf fehlt"); }
};

class ApplicationTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    void SetUp() override {
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
    }
    std::vector<seams::MessageBoxCall> boxes;
};

} // namespace

TEST_F(ApplicationTest, HiddenWindowCarriesTheTitle) {
    HWND found = FindWindowW(L"TApplication", L"Tikkora");
    EXPECT_EQ(found, Application->Handle());
    EXPECT_FALSE(IsWindowVisible(found));
}

TEST_F(ApplicationTest, ExceptionInAHandlerBecomesAnErrorBoxAndTheProgramGoesOn) {
    ThrowingForm form(*Application);
    form.CreateHandle();
    SendMessageW(form.Handle(), WM_APP, 0, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Etwas ging schief");
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // Not a std::exception: still reported, in German.
    SendMessageW(form.Handle(), WM_APP + 1, 0, 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Unbekannter Fehler");
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(ApplicationTest, ShowModalRunsUntilAResultIsSetAndReenablesTheOthers) {
    ThrowingForm other(*Application);
    other.CreateHandle();
    other.Show();
    ThrowingForm dialog(*Application);
    dialog.CreateHandle();
    dialog.watched = other.Handle();
    PostMessageW(dialog.Handle(), WM_APP + 2, IDOK, 0);
    EXPECT_EQ(dialog.ShowModal(), IDOK);
    EXPECT_FALSE(dialog.watchedWasEnabled) << "the other window was usable during the modal loop";
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_FALSE(dialog.Visible());
}

TEST_F(ApplicationTest, ClosingAModalFormCancelsIt) {
    ThrowingForm dialog(*Application);
    dialog.CreateHandle();
    PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
}

TEST_F(ApplicationTest, AMainFormThatCannotBeMadeWhollyIsToldAndEndsTheProgram) {
    int exitCode = 0;
    {
        TApplication program;
        program.Initialize();
        program.AddForm<BrokenForm>();
        // Would end the loop, were one to run.
        PostQuitMessage(0);
        exitCode = program.Run();
        EXPECT_EQ(FindWindowW(L"TBrokenForm", nullptr), nullptr);
    }
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_NE(exitCode, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Das Fenster TBrokenForm konnte nicht erstellt werden.\r\nDer Knopf fehlt");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
}
