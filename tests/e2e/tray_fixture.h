#pragma once
// The stand-in taskbar of the end-to-end tests, run as a program of its own:
// "Shell_TrayWnd" > "TrayNotifyWnd" > "TrayClockWClass", or Windows 11's kind
// with a composition bridge as its face and no clock area.
#include <windows.h>

#include <string>

class TrayFixture {
  public:
    // The clock area's client size; 0 x 0 is an area that is there but empty.
    TrayFixture(int width, int height);
    struct Bridge {};
    explicit TrayFixture(Bridge);
    ~TrayFixture() { Stop(); }
    TrayFixture(const TrayFixture&) = delete;
    TrayFixture& operator=(const TrayFixture&) = delete;

    void Resize(int width, int height);
    // Ends the stand-in, as when the shell's taskbar goes away.
    void Stop();

    HWND tray = nullptr;
    HWND notify = nullptr;
    HWND clock = nullptr;
    HWND bridge = nullptr;

  private:
    void Launch(const std::wstring& arguments);
    HWND FindClock();

    PROCESS_INFORMATION process_{};
};
