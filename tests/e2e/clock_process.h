#pragma once
// Runs the real Tikkora.exe for an end-to-end test: a fresh folder of its own
// with the program (and its sound) copied in and, if wanted, a settings file;
// the process; its windows; the screen under them.
#include <windows.h>

#include <string>
#include <vector>

// The folder this test program lies in; Tikkora.exe is built beside it.
std::wstring BuildFolder();

class ClockProcess {
  public:
    // Makes the folder and, when settings is not empty, writes it as Tikkora.ini.
    explicit ClockProcess(const std::string& settings = "");
    // Another start of the program in the folder of an existing one.
    struct InFolderOf {
        const ClockProcess& other;
    };
    explicit ClockProcess(InFolderOf place);
    ~ClockProcess();
    ClockProcess(const ClockProcess&) = delete;
    ClockProcess& operator=(const ClockProcess&) = delete;

    // Copies a file of the build folder beside the program; false when the
    // build has none. It goes with the folder.
    bool CopyBesideProgram(const std::wstring& name);

    // Starts the program; false if it could not be started. A start made
    // suspended runs on Resume().
    bool Start(bool suspended = false);
    void Resume() { ResumeThread(process_.hThread); }
    // Waits until the program shows its main window; null after the timeout.
    HWND WaitForMainWindow(DWORD timeoutMs = 15000);
    // Asks the main window to close and waits for the process to end.
    bool CloseAndWait(DWORD timeoutMs = 15000);
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    DWORD ProcessId() const { return process_.dwProcessId; }

    std::wstring Folder() const { return folder_; }
    std::wstring SettingsPath() const { return folder_ + L"\\Tikkora.ini"; }
    // The settings file's text, or empty when there is none.
    std::string ReadSettings() const;
    // One value as the platform's profile functions read it; fallback when missing.
    std::string Setting(const char* section, const char* key,
                        const char* fallback = "<none>") const;

    // The first visible top-level window of the process with this class.
    HWND FindWindowOfClass(const wchar_t* className) const;

  private:
    std::wstring folder_;
    std::vector<std::wstring> extraFiles_;
    PROCESS_INFORMATION process_{};
};

// Screen pixels of a rectangle, read back from the screen.
class Screenshot {
  public:
    explicit Screenshot(RECT area);
    COLORREF Pixel(int x, int y) const; // relative to the area's corner
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Writes the shot as a 24-bit BMP, for a person to look at.
    void Save(const std::wstring& path) const;
    bool operator==(const Screenshot& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }

  private:
    int width_;
    int height_;
    std::vector<COLORREF> pixels_;
};

// Runs the message-free wait loop of a test: sleeps in small steps until
// condition() holds or timeoutMs has passed.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

// The clock draws a tick: true once the screen in area differs from shot,
// false when it stays the same until the timeout.
bool WaitForChange(RECT area, const Screenshot& shot, DWORD timeoutMs = 5000);

// The screen rectangle of the visible panel (class "TPanel") of this size
// inside window; empty when there is none.
RECT PanelOnScreen(HWND window, int width, int height);
// The large digit panel of a clock in the standard size once it is shown and
// drawn (more than one colour in it); empty when that does not come.
RECT WaitForDrawnDigits(HWND window, DWORD timeoutMs = 5000);

// The visible message box of a process (dialog class "#32770"), or null.
HWND FindMessageBox(DWORD processId);
// The text of a message box's static text.
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
// Presses a message box's button by its id (IDOK, IDYES, ...).
void PressButton(HWND box, int id);

// The keyboard focus, mouse capture and active window of the thread that owns
// window, in any process.
GUITHREADINFO GuiStateOf(HWND window);

// Input as a user gives it, through the system's input queue.
// A press and release of a mouse button at a screen point.
void Mouse(DWORD down, DWORD up, POINT at);
// Moves the mouse to a screen point, as a hand on the mouse does.
void MoveMouse(POINT to);
// Left clicks at a screen point (two make a double click).
void Click(int x, int y, int times = 1);
// Presses and releases a key, times over.
void Key(WORD key, int times = 1);
POINT Centre(RECT r);
