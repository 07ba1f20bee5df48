// The Windows tests run inside one application object, as the program's code
// expects one to exist (error reports, help, owners of forms).
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    TApplication application;
    application.Initialize();
    application.SetTitle("Tikkora");
    application.SetHelpFile("Tikora.hlp");
    return RUN_ALL_TESTS();
}
