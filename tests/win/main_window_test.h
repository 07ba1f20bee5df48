#pragma once
// Base of the tests that make the main window in this process: the program
// lies in a fresh folder, the clock shows the test's time, and message boxes
// are answered with OK and recorded.
#include "analogclock/amclock.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/form1.h"
#include "app/main_window_probe.h"
#include "settings/settings_file.h"
#include "app/window_styles.h"
#include "controls/explbtn.h"
#include "controls/notask.h"
#include "toolkit/controls.h"
#include "toolkit/panel.h"
#include "toolkit/timer.h"
#include "temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class MainWindowTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    void SetUp() override {
        seams::SetProgramFilePathForTest(folder.File("Tikkora.exe"));
        seams::SetClockForTest([this] { return now; });
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            boxes.push_back(call);
            OnMessageBox(call);
            return IDOK;
        });
    }
    void TearDown() override { form.reset(); }
    // Runs while a message box is open, for tests that look at the state then.
    virtual void OnMessageBox(const seams::MessageBoxCall& /*call*/) {}

    TMainWindowProbe Probe() const { return TMainWindowProbe(*form); }
    TForm1& Create() {
        form = std::make_unique<TForm1>(*Application);
        form->CreateHandle();
        return *form;
    }

    TempFolder folder;
    // Noon: no alarm rings unless a test asks for one.
    LocalTime now{2024, 3, 1, 12, 0, 30};
    std::unique_ptr<TForm1> form;
    std::vector<seams::MessageBoxCall> boxes;
};
