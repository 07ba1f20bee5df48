// Program entry: one instance at a time, then the clock window.
#include "app/form1.h"
#include "toolkit/application.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A running instance owns this window; a second start leaves quietly.
    if (FindWindowW(L"TApplication", L"Tikkora")) {
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);

    TApplication application;
    application.Initialize();
    application.SetTitle("Tikkora");
    application.SetHelpFile("Tikora.hlp");
    application.CreateForm<TForm1>();
    application.Run();
    return 0;
}
