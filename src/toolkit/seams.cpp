#include "toolkit/seams.h"

#include "toolkit/precise_clock.h"
#include "toolkit/wide.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <wininet.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace seams {
namespace {

std::function<LocalTime()>& TestClock() {
    static std::function<LocalTime()> clock;
    return clock;
}
std::function<long long()>& TestRealClock() {
    static std::function<long long()> clock;
    return clock;
}
std::string& TestProgramFilePath() {
    static std::string path;
    return path;
}
std::function<int(const MessageBoxCall&)>& TestResponder() {
    static std::function<int(const MessageBoxCall&)> responder;
    return responder;
}
std::function<bool(const HelpCall&)>& TestHelpHandler() {
    static std::function<bool(const HelpCall&)> handler;
    return handler;
}
std::function<bool(const HtmlHelpRequest&)>& TestHtmlHelpHandler() {
    static std::function<bool(const HtmlHelpRequest&)> handler;
    return handler;
}
std::function<bool(const ShellCall&)>& TestShellHandler() {
    static std::function<bool(const ShellCall&)> handler;
    return handler;
}

std::function<void(const SoundCall&)>& TestSoundRecorder() {
    static std::function<void(const SoundCall&)> recorder;
    return recorder;
}

std::function<bool()>& TestConnected() {
    static std::function<bool()> connected;
    return connected;
}
std::function<void(HWND)>& TestDial() {
    static std::function<void(HWND)> dial;
    return dial;
}
std::function<std::string(const std::string&)>& TestHostLookup() {
    static std::function<std::string(const std::string&)> lookup;
    return lookup;
}
std::function<std::optional<std::string>(const SaveDialogCall&)>& TestSaveDialog() {
    static std::function<std::optional<std::string>(const SaveDialogCall&)> responder;
    return responder;
}

std::function<LocalTime(long long)>& TestTimeZone() {
    static std::function<LocalTime(long long)> zone;
    return zone;
}
std::function<bool(const PowerCall&)>& TestPowerHandler() {
    static std::function<bool(const PowerCall&)> handler;
    return handler;
}

// FILETIME counts 100 ns steps from 1601; the seams count seconds from 1970.
constexpr long long kSecondsFrom1601To1970 = 11644473600LL;
constexpr long long kFileTimeSteps = 10000000LL;

} // namespace

LocalTime Now() {
    if (TestClock()) {
        return TestClock()();
    }
    // Read from the clock the ticks are aimed with.
    const SYSTEMTIME now = PreciseLocalTime();
    return LocalTime{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                     now.wMinute, now.wSecond, now.wMilliseconds};
}

void SetClockForTest(std::function<LocalTime()> clock) {
    TestClock() = std::move(clock);
}

long long RealMilliseconds() {
    if (TestRealClock()) {
        return TestRealClock()();
    }
    return static_cast<long long>(GetTickCount64());
}

void SetRealClockForTest(std::function<long long()> clock) {
    TestRealClock() = std::move(clock);
}

std::string ProgramFilePath() {
    if (!TestProgramFilePath().empty()) {
        return TestProgramFilePath();
    }
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            return Narrow(std::wstring_view(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

void SetProgramFilePathForTest(std::string path) {
    TestProgramFilePath() = std::move(path);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (TestResponder()) {
        return TestResponder()(MessageBoxCall{owner, text, caption, flags});
    }
    return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void SetMessageBoxResponderForTest(std::function<int(const MessageBoxCall&)> responder) {
    TestResponder() = std::move(responder);
}

bool CallHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) {
    if (TestHelpHandler()) {
        return TestHelpHandler()(HelpCall{file, command, data});
    }
    return WinHelpW(owner, Widen(file).c_str(), command, data) != FALSE;
}

void SetHelpHandlerForTest(std::function<bool(const HelpCall&)> handler) {
    TestHelpHandler() = std::move(handler);
}

bool CallHtmlHelp(HWND owner, const HtmlHelpRequest& request, THtmlHelp& viewer) {
    if (TestHtmlHelpHandler()) {
        return TestHtmlHelpHandler()(request);
    }
    return viewer.Run(owner, request);
}

void SetHtmlHelpHandlerForTest(std::function<bool(const HtmlHelpRequest&)> handler) {
    TestHtmlHelpHandler() = std::move(handler);
}

bool RunShell(const ShellCall& call) {
    if (TestShellHandler()) {
        return TestShellHandler()(call);
    }
    const std::wstring operation = Widen(call.operation);
    const std::wstring file = Widen(call.file);
    const std::wstring parameters = Widen(call.parameters);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(call.owner, operation.c_str(), file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, call.show));
    return result > 32;
}

void SetShellHandlerForTest(std::function<bool(const ShellCall&)> handler) {
    TestShellHandler() = std::move(handler);
}

void PlaySoundFile(const std::string& path) {
    if (TestSoundRecorder()) {
        TestSoundRecorder()(SoundCall{path, SND_ASYNC});
        return;
    }
    sndPlaySoundW(Widen(path).c_str(), SND_ASYNC);
}

void PlayDefaultSound() {
    if (TestSoundRecorder()) {
        TestSoundRecorder()(SoundCall{"", SND_ASYNC});
        return;
    }
    PlaySoundW(L"SystemDefault", nullptr, SND_ALIAS | SND_ASYNC);
}

void Beep() {
    if (TestSoundRecorder()) {
        TestSoundRecorder()(SoundCall{"", 0, true});
        return;
    }
    MessageBeep(0);
}

void SetSoundRecorderForTest(std::function<void(const SoundCall&)> recorder) {
    TestSoundRecorder() = std::move(recorder);
}

bool InternetConnected() {
    if (TestConnected()) {
        return TestConnected()();
    }
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

void SetInternetConnectedForTest(std::function<bool()> connected) {
    TestConnected() = std::move(connected);
}

void DialInternet(HWND owner) {
    if (TestDial()) {
        TestDial()(owner);
        return;
    }
    InternetAutodial(INTERNET_AUTODIAL_FAILIFSECURITYCHECK, owner);
}

void SetDialInternetForTest(std::function<void(HWND owner)> dial) {
    TestDial() = std::move(dial);
}

std::optional<std::string> LookUpHostForTest(const std::string& name) {
    if (TestHostLookup()) {
        return TestHostLookup()(name);
    }
    return std::nullopt;
}

void SetHostLookupForTest(std::function<std::string(const std::string& name)> lookup) {
    TestHostLookup() = std::move(lookup);
}

std::optional<std::string> AskSaveFileName(const SaveDialogCall& call) {
    if (TestSaveDialog()) {
        return TestSaveDialog()(call);
    }
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring proposed = Widen(call.proposedName);
    proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = call.owner;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return Narrow(std::wstring_view(name.data()));
}

void SetSaveDialogForTest(
    std::function<std::optional<std::string>(const SaveDialogCall&)> responder) {
    TestSaveDialog() = std::move(responder);
}

LocalTime LocalTimeAt(long long utcSeconds) {
    if (TestTimeZone()) {
        return TestTimeZone()(utcSeconds);
    }
    ULARGE_INTEGER steps;
    steps.QuadPart = static_cast<ULONGLONG>((utcSeconds + kSecondsFrom1601To1970) * kFileTimeSteps);
    const FILETIME moment{steps.LowPart, steps.HighPart};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    // The rules of the zone for the year of that moment, not today's offset.
    if (!FileTimeToSystemTime(&moment, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        local = utc;
    }
    return LocalTime{local.wYear,   local.wMonth,  local.wDay,         local.wHour,
                     local.wMinute, local.wSecond, local.wMilliseconds};
}

void SetTimeZoneForTest(std::function<LocalTime(long long utcSeconds)> zone) {
    TestTimeZone() = std::move(zone);
}

bool CallPower(HANDLE timer, const PowerCall& call) {
    if (TestPowerHandler()) {
        return TestPowerHandler()(call);
    }
    switch (call.kind) {
    case PowerCall::Kind::ArmTimer: {
        // A positive due time is an absolute UTC time.
        LARGE_INTEGER due;
        due.QuadPart = (call.dueUtcSeconds + kSecondsFrom1601To1970) * kFileTimeSteps;
        SetLastError(ERROR_SUCCESS);
        const BOOL set = SetWaitableTimer(timer, &due, 0, nullptr, nullptr, call.resume);
        // A system that cannot wake for timers sets the timer all the same and says so here.
        return set && !(call.resume && GetLastError() == ERROR_NOT_SUPPORTED);
    }
    case PowerCall::Kind::CancelTimer:
        return CancelWaitableTimer(timer) != FALSE;
    case PowerCall::Kind::ExecutionState:
        return SetThreadExecutionState(call.state) != 0;
    }
    return false;
}

void SetPowerHandlerForTest(std::function<bool(const PowerCall&)> handler) {
    TestPowerHandler() = std::move(handler);
}

void ResetAllForTest() {
    TestConnected() = nullptr;
    TestTimeZone() = nullptr;
    TestPowerHandler() = nullptr;
    TestDial() = nullptr;
    TestSaveDialog() = nullptr;
    TestHostLookup() = nullptr;
    TestSoundRecorder() = nullptr;
    TestClock() = nullptr;
    TestRealClock() = nullptr;
    TestProgramFilePath().clear();
    TestResponder() = nullptr;
    TestHelpHandler() = nullptr;
    TestHtmlHelpHandler() = nullptr;
    TestShellHandler() = nullptr;
}

TestSeams::~TestSeams() {
    ResetAllForTest();
}

} // namespace seams
