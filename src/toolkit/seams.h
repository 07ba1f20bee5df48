#pragma once
// The places where tests step in for the outside world: the time of day, the
// program file's location, the message boxes, the help systems (which would
// otherwise start a help viewer), the shell and the sound. The shipped program
// never replaces them; tests install their own for the length of a test.
#include "toolkit/html_help.h"
#include "toolkit/local_time_rules.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace seams {

// The local time of day; GetLocalTime unless a test set its own clock.
LocalTime Now();
void SetClockForTest(std::function<LocalTime()> clock);
// Milliseconds of a clock that only runs forward, sleep included, whatever
// happens to the time of day; GetTickCount64 unless a test set its own.
long long RealMilliseconds();
void SetRealClockForTest(std::function<long long()> clock);

// The full path of the program file (UTF-8); GetModuleFileNameW unless overridden.
std::string ProgramFilePath();
void SetProgramFilePathForTest(std::string path);

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};
// Shows a message box and returns the button pressed (IDOK, IDYES, ...).
// A test's responder answers instead of a person and sees every call.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
void SetMessageBoxResponderForTest(std::function<int(const MessageBoxCall&)> responder);

struct HelpCall {
    std::string file;
    UINT command;
    ULONG_PTR data;
};
// WinHelpW unless a test records the calls.
bool CallHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data);
void SetHelpHandlerForTest(std::function<bool(const HelpCall&)> handler);

// HTML Help: viewer runs the request unless a test records it.
bool CallHtmlHelp(HWND owner, const HtmlHelpRequest& request, THtmlHelp& viewer);
void SetHtmlHelpHandlerForTest(std::function<bool(const HtmlHelpRequest&)> handler);

// The shell's ShellExecuteW; true when it reported success. A test records
// the call instead of starting anything.
struct ShellCall {
    HWND owner;
    std::string operation;
    std::string file;
    std::string parameters;
    int show;
};
bool RunShell(const ShellCall& call);
void SetShellHandlerForTest(std::function<bool(const ShellCall&)> handler);

// Sound: a wave file played once and asynchronously, cutting off one still
// playing; or the platform's default sound. A test records the calls instead.
struct SoundCall {
    std::string path; // empty for the default sound and the beep
    UINT flags;
    bool beep = false;
};
void PlaySoundFile(const std::string& path);
void PlayDefaultSound();
// The short warning sound of a refused action.
void Beep();
void SetSoundRecorderForTest(std::function<void(const SoundCall&)> recorder);

// The internet connection: InternetGetConnectedState, and InternetAutodial
// so that a dial-up connection is made when the system needs one.
bool InternetConnected();
void SetInternetConnectedForTest(std::function<bool()> connected);
void DialInternet(HWND owner);
void SetDialInternetForTest(std::function<void(HWND owner)> dial);

// Host names the socket layer looks up: a test's handler sees each one and
// answers with a dotted address (a loopback server's) or "" for a name that
// is not found. Nothing without a handler: the system looks the name up.
std::optional<std::string> LookUpHostForTest(const std::string& name);
void SetHostLookupForTest(std::function<std::string(const std::string& name)> lookup);

// The save dialog: the path chosen, or nothing when the user cancelled it.
// A test's responder chooses instead of a person.
struct SaveDialogCall {
    HWND owner;
    std::string proposedName;
};
std::optional<std::string> AskSaveFileName(const SaveDialogCall& call);
void SetSaveDialogForTest(
    std::function<std::optional<std::string>(const SaveDialogCall&)> responder);

// The local time at a moment in seconds since 1970-01-01 00:00 UTC, by the
// system's time zone and its daylight saving rules, unless a test set its own.
LocalTime LocalTimeAt(long long utcSeconds);
void SetTimeZoneForTest(std::function<LocalTime(long long utcSeconds)> zone);

// The power calls of the alarm: SetWaitableTimer at an absolute UTC due time,
// with or without the resume flag that wakes a sleeping machine,
// CancelWaitableTimer, and SetThreadExecutionState. True when the system did
// what was asked. A test records the calls and answers for the system.
struct PowerCall {
    enum class Kind { ArmTimer, CancelTimer, ExecutionState };
    Kind kind;
    long long dueUtcSeconds = 0;
    bool resume = false;
    EXECUTION_STATE state = 0;
};
bool CallPower(HANDLE timer, const PowerCall& call);
void SetPowerHandlerForTest(std::function<bool(const PowerCall&)> handler);

// Puts every seam back to the real platform.
void ResetAllForTest();

// Puts every seam back to the real platform when it goes, however the test
// ended: a stand-in that points into a finished test is never called.
class TestSeams {
  public:
    TestSeams() = default;
    ~TestSeams();
    TestSeams(const TestSeams&) = delete;
    TestSeams& operator=(const TestSeams&) = delete;
};

} // namespace seams
