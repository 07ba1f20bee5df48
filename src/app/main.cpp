// Program entry: one instance at a time, then the clock window.
#include "about/form3.h"
#include "alarm/form2.h"
#include "app/form1.h"
#include "app/instance_lock.h"
#include "controls/xpthemes.h"
#include "toolkit/application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Taken before anything else and held to the end; a second start leaves
    // quietly. The application window of a running clock still counts: an
    // older clock takes no lock.
    const TInstanceLock instance;
    if (instance.HeldElsewhere() || FindWindowW(L"TApplication", L"Tikkora")) {
        return 0;
    }
    // The visual styles are bound before the first window and let go after the last.
    struct ThemeLibraryScope {
        ThemeLibraryScope() { InitThemeLibrary(); }
        ~ThemeLibraryScope() { FreeThemeLibrary(); }
    } themes;
    TApplication application;
    // Titled before it is made: a second start must find the window by its
    // title from the first moment, and a title set afterwards is one more
    // round with the window system.
    application.SetTitle("Tikkora");
    application.Initialize();
    application.SetHelpFile("Tikora.hlp");
    TForm1* clock = nullptr;
    try {
        clock = application.CreateForm<TForm1>();
    } catch (const std::exception& failure) {
        // Without its window the clock could never be closed, and its hidden
        // window would turn every later start away.
        application.HandleException(failure);
        return kNoMainWindowExitCode;
    }
    // The about box and the alarm dialog get their windows when first shown.
    application.AddForm<TForm3>(clock->LinksForAboutBox());
    application.AddForm<TForm2>(clock->LinksForAlarmDialog());
    return application.Run();
}
