// The installer the build makes, run silently as an update or an uninstall of a
// user would run it: the files, the Start-menu entry, the uninstall entry, the
// start with Windows, and the settings file that updates and uninstalls keep.
#include "clock_process.h"
#include "tikkora_version.h"
#include "window_search.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tikkora";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kNone[] = L"<none>";
// Part of every folder these tests install into; an installation registered
// elsewhere belongs to the user and is left alone.
const wchar_t kFolderMark[] = L"tikkora-installer-test-";
const char kSettings[] = "[Wecker]\r\nAktiv=1\r\nStunde=06\r\nMinute=30\r\n";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.push_back(found.cFileName);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return names;
}

std::wstring VersionText() {
    const std::string version = TIKKORA_VERSION_TEXT;
    return std::wstring(version.begin(), version.end());
}

// The installer of this build's version is made beside this program.
std::wstring InstallerFile() {
    return BuildFolder() + L"\\Tikkora-Setup-" + VersionText() + L".exe";
}

std::wstring UserValue(const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024];
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return kNone;
    }
    return value;
}

std::wstring StartMenuEntry() {
    wchar_t programs[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::wstring(programs) + L"\\Tikkora.lnk";
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::wstring& path, const std::string& text) {
    std::ofstream file(path.c_str(), std::ios::binary);
    file << text;
}

// A command line run with every process it starts, as the uninstaller copies
// itself out of the folder it empties and runs the copy.
class ProcessGroup {
  public:
    explicit ProcessGroup(std::wstring commandLine) {
        // The first window of a fresh Wine prefix starts its desktop process
        // (explorer.exe /desktop), which runs for good: started from inside the
        // job it would keep the group from ever ending. Starting it here first
        // leaves it outside.
        GetDesktopWindow();
        job_ = CreateJobObjectW(nullptr, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (job_ && CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, nullptr, &startup, &process_)) {
            AssignProcessToJobObject(job_, process_.hProcess);
            ResumeThread(process_.hThread);
        }
    }
    ~ProcessGroup() {
        if (process_.hProcess) {
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        if (job_) {
            TerminateJobObject(job_, 1);
            CloseHandle(job_);
        }
    }
    ProcessGroup(const ProcessGroup&) = delete;
    ProcessGroup& operator=(const ProcessGroup&) = delete;

    // The first process's exit code once all have ended; -1 when it did not
    // start or they did not end in time.
    long Wait() {
        if (!process_.hProcess) {
            return -1;
        }
        if (WaitForSingleObject(process_.hProcess, 120000) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD exitCode = 0;
        GetExitCodeProcess(process_.hProcess, &exitCode);
        const bool allEnded = WaitUntil(
            [this] {
                JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
                return !QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info,
                                                  sizeof(info), nullptr) ||
                       info.ActiveProcesses == 0;
            },
            60000);
        return allEnded ? static_cast<long>(exitCode) : -1;
    }

  private:
    HANDLE job_ = nullptr;
    PROCESS_INFORMATION process_{};
};

long RunAndWait(const std::wstring& commandLine) {
    return ProcessGroup(commandLine).Wait();
}

// The installed clock, running until Close() or the end of the test.
class RunningClock {
  public:
    explicit RunningClock(const std::wstring& program) {
        std::wstring commandLine = L"\"" + program + L"\"";
        std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder.c_str(), &startup, &process_)) {
            WaitUntil([this] { return (window_ = MainWindow()) != nullptr || Ended(); }, 15000);
        }
    }
    ~RunningClock() {
        if (process_.hProcess) {
            if (!Ended()) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, 5000);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    RunningClock(const RunningClock&) = delete;
    RunningClock& operator=(const RunningClock&) = delete;

    bool Shown() const { return window_ != nullptr && !Ended(); }
    // As the user closes it; true once the process has ended.
    bool Close() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return WaitForSingleObject(process_.hProcess, 15000) == WAIT_OBJECT_0;
    }

  private:
    bool Ended() const {
        return !process_.hProcess || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    }
    HWND MainWindow() const { return FindVisibleWindow(process_.dwProcessId, L"TForm1"); }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

class Installer : public testing::Test {
  protected:
    void SetUp() override {
        setup_ = InstallerFile();
        if (!Exists(setup_)) {
            GTEST_SKIP() << "no installer " << testing::PrintToString(setup_)
                         << ": the build made none (is makensis installed?)";
        }
        std::wstring registered = UserValue(kUninstallKey, L"InstallLocation");
        if (registered != kNone && registered.find(kFolderMark) == std::wstring::npos) {
            GTEST_SKIP() << "Tikkora is installed for this user in "
                         << testing::PrintToString(registered)
                         << "; these tests would change that installation";
        }
        // What a run that died half-way left of its registration.
        if (registered != kNone) {
            RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tikkora");
        }
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        parent_ = std::wstring(temp) + kFolderMark + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++counter);
        CreateDirectoryW(parent_.c_str(), nullptr);
        folder_ = parent_ + L"\\Tikkora";
    }

    void TearDown() override {
        if (folder_.empty()) {
            return;
        }
        if (UserValue(kUninstallKey, L"InstallLocation") == folder_) {
            Uninstall(L"/REMOVESETTINGS");
        }
        for (const std::wstring& name : FilesIn(folder_, L"*")) {
            DeleteFileW((folder_ + L"\\" + name).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
        RemoveDirectoryW(parent_.c_str());
    }

    // Options go before /D=, which NSIS wants last.
    long InstallIntoFolder(const std::wstring& options = L"") {
        return RunAndWait(L"\"" + setup_ + L"\" /S " + options + L" /D=" + folder_);
    }
    // As an update: the installer finds the folder itself.
    long Install(const std::wstring& options = L"") { return RunAndWait(UpdateCommand(options)); }
    std::wstring UpdateCommand(const std::wstring& options = L"") const {
        return L"\"" + setup_ + L"\" /S " + options;
    }
    // Through the command the system's program list runs.
    long Uninstall(const std::wstring& options = L"") {
        std::wstring command = UserValue(kUninstallKey, L"UninstallString");
        if (command == kNone) {
            return -1;
        }
        return RunAndWait(command + L" /S " + options);
    }

    std::wstring In(const std::wstring& name) const { return folder_ + L"\\" + name; }

    // Tikkora.exe, the sounds and the help where the build made it.
    static std::vector<std::wstring> ShippedFiles() {
        std::vector<std::wstring> names = FilesIn(BuildFolder(), L"*.wav");
        names.push_back(L"Tikkora.exe");
        if (Exists(BuildFolder() + L"\\Tikkora.chm")) {
            names.push_back(L"Tikkora.chm");
        }
        return names;
    }

    std::wstring setup_;
    std::wstring parent_;
    std::wstring folder_;
};

} // namespace

TEST_F(Installer, InstallsForTheUserAndUpdateAndUninstallKeepTheSettings) {
    ASSERT_EQ(InstallIntoFolder(), 0);
    ASSERT_GE(ShippedFiles().size(), 2u); // the program and at least its own sound
    for (const std::wstring& name : ShippedFiles()) {
        ASSERT_TRUE(Exists(In(name))) << testing::PrintToString(name);
        EXPECT_TRUE(ReadFile(In(name)) == ReadFile(BuildFolder() + L"\\" + name))
            << testing::PrintToString(name) << " differs from the build's";
    }
    EXPECT_FALSE(Exists(In(L"Tikkora.exe.debug")));
    EXPECT_FALSE(Exists(In(L"Tikkora.ini")));
    EXPECT_TRUE(Exists(StartMenuEntry()));
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayName"), L"Tikkora");
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayVersion"), VersionText());
    EXPECT_EQ(UserValue(kUninstallKey, L"UninstallString"), L"\"" + In(L"Uninstall.exe") + L"\"");
    EXPECT_EQ(UserValue(kUninstallKey, L"InstallLocation"), folder_);
    EXPECT_EQ(UserValue(kRunKey, L"Tikkora"), kNone);

    // The user's settings and a sound of their own; a lost program file shows
    // that the update went into this folder without being told.
    WriteFile(In(L"Tikkora.ini"), kSettings);
    WriteFile(In(L"Eigener.wav"), "RIFF");
    ASSERT_TRUE(DeleteFileW(In(L"Tikkora.exe").c_str()));
    ASSERT_EQ(Install(), 0);
    EXPECT_TRUE(Exists(In(L"Tikkora.exe")));
    EXPECT_EQ(ReadFile(In(L"Tikkora.ini")), kSettings);

    ASSERT_EQ(Uninstall(), 0);
    for (const std::wstring& name : ShippedFiles()) {
        EXPECT_FALSE(Exists(In(name))) << testing::PrintToString(name);
    }
    EXPECT_FALSE(Exists(In(L"Uninstall.exe")));
    EXPECT_FALSE(Exists(StartMenuEntry()));
    EXPECT_EQ(UserValue(kUninstallKey, L"DisplayName"), kNone);
    EXPECT_EQ(ReadFile(In(L"Tikkora.ini")), kSettings);
    EXPECT_EQ(ReadFile(In(L"Eigener.wav")), "RIFF");
}

TEST_F(Installer, StartWithWindowsIsKeptByAnUpdateAndGoesWithTheProgram) {
    const std::wstring program = L"\"" + In(L"Tikkora.exe") + L"\"";
    ASSERT_EQ(InstallIntoFolder(L"/AUTOSTART"), 0);
    EXPECT_EQ(UserValue(kRunKey, L"Tikkora"), program);
    ASSERT_EQ(Install(), 0);
    EXPECT_EQ(UserValue(kRunKey, L"Tikkora"), program);
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_EQ(UserValue(kRunKey, L"Tikkora"), kNone);
}

TEST_F(Installer, UninstallDeletesTheSettingsWhenAsked) {
    ASSERT_EQ(InstallIntoFolder(), 0);
    WriteFile(In(L"Tikkora.ini"), kSettings);
    ASSERT_EQ(Uninstall(L"/REMOVESETTINGS"), 0);
    EXPECT_FALSE(Exists(In(L"Tikkora.ini")));
    EXPECT_FALSE(Exists(folder_));
}

// The online update starts the installer and then ends the clock, so an update
// waits for a running clock; one that does not end leaves the installation as
// it was rather than half replaced.
TEST_F(Installer, UpdateWaitsForTheClockToEndAndGivesUpOnOneThatDoesNot) {
    ASSERT_EQ(InstallIntoFolder(), 0);
    const std::vector<std::wstring> sounds = FilesIn(BuildFolder(), L"*.wav");
    ASSERT_FALSE(sounds.empty());
    ASSERT_TRUE(DeleteFileW(In(sounds[0]).c_str()));
    RunningClock clock(In(L"Tikkora.exe"));
    ASSERT_TRUE(clock.Shown());

    // A second instead of the ten an update gives a running clock.
    EXPECT_EQ(Install(L"/CLOCKWAIT=2"), 2); // NSIS's exit code for an installation given up
    EXPECT_FALSE(Exists(In(sounds[0])));

    ProcessGroup update(UpdateCommand());
    // Time for the installer to find the clock still running; on a machine too
    // slow for that the test holds all the same, only the wait goes unexercised.
    Sleep(2000);
    ASSERT_TRUE(clock.Close());
    EXPECT_EQ(update.Wait(), 0);
    EXPECT_TRUE(Exists(In(sounds[0])));
}
