// The online update of the real program, worked as a user would, against a
// loopback update server: the menu command, the boxes, the dialog with the
// notes, the save dialog and "Abbrechen"; a signed update starts its
// installer and ends the clock, a changed or unsigned one is refused.
#include "clock_process.h"
#include "toolkit/wide.h"
#include "update_server.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>

namespace {

const std::string kAsk = "Soll eine Internetverbindung hergestellt, und nach einer \r\n"
                         "aktualisierten Version von Tikkora gesucht werden?";
const std::string kNewer = "Ihre Programmversion von Tikkora ist nicht mehr aktuell! \r\n"
                           "Um das Online-Update zu starten, klicken Sie bitte auf JA";
const std::string kNotVerified =
    "Die Versionsinformationen des Servers konnten nicht überprüft werden. \r\n"
    "Das Update wird deshalb nicht angeboten.";
const std::string kOverwrite =
    "Eine Datei mit diesem Namen existiert bereits! \r\nSoll diese überschrieben werden?";
const std::string kStart =
    "Download abgeschlossen. \r\nSoll das heruntergeladene Setup nun ausgeführt werden?";
const std::string kDamaged = "Das heruntergeladene Setup ist beschädigt oder wurde unterwegs "
                             "verändert. \r\nEs wurde gelöscht und wird nicht ausgeführt.";
// The file name field of the common save dialog.
constexpr int kFileNameField = 0x47c;

POINT Centre(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return Centre(r);
}

// The text of another process's control: GetWindowText would not ask it.
std::string ControlText(HWND control) {
    wchar_t text[4096] = {};
    SendMessageW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class UpdateEndToEnd : public testing::Test {
  protected:
    void Start(const UpdateServer& server, const std::string& version) {
        // No automatic check: the in-process tests see the timer that starts it.
        clock = std::make_unique<ClockProcess>(
            "[Clock]\r\nStyle=Standard\r\n[OnlineUpdate]\r\nAuto=0\r\nServer=" +
            server.BaseUrl(version) + "\r\n");
        // The clock as the tests build it: it trusts the test key too.
        ASSERT_TRUE(CopyFileW((BuildFolder() + L"\\tikkora_update_clock.exe").c_str(),
                              (clock->Folder() + L"\\Tikkora.exe").c_str(), FALSE));
        ASSERT_TRUE(clock->Start());
        window = clock->WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        // Drawn: its message loop runs and takes the click that opens the menu.
        ASSERT_NE(WaitForDrawnDigits(window).right, 0);
    }
    void TearDown() override {
        for (const wchar_t* name : {L"\\Setup.exe", L"\\Setup.exe.ran"}) {
            DeleteFileW((clock->Folder() + name).c_str());
        }
    }

    // "Online-U&pdate" from the context menu, by its letter.
    void ChooseOnlineUpdate() {
        Mouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, Centre(PanelOnScreenWindow()));
        ASSERT_TRUE(
            WaitUntil([&] { return clock->FindWindowOfClass(L"#32768") != nullptr; }, 5000));
        Key('P');
    }
    HWND PanelOnScreenWindow() const { return window; }

    // The next box of the program (not the save dialog) with its text.
    HWND WaitForBox(const std::string& text) {
        HWND box = nullptr;
        WaitUntil(
            [&] {
                box = FindMessageBox(clock->ProcessId());
                return box && !GetDlgItem(box, kFileNameField) && MessageBoxText(box) == text;
            },
            15000);
        EXPECT_TRUE(box && MessageBoxText(box) == text)
            << "waiting for: " << text << "\nshown: " << (box ? MessageBoxText(box) : "nothing");
        return box && MessageBoxText(box) == text ? box : nullptr;
    }
    void Answer(const std::string& text, int button) {
        HWND box = WaitForBox(text);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), "Tikkora");
        PressButton(box, button);
        WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    }
    HWND WaitForSaveDialog() {
        HWND dialog = nullptr;
        WaitUntil(
            [&] {
                dialog = FindMessageBox(clock->ProcessId());
                return dialog && GetDlgItem(dialog, kFileNameField);
            },
            15000);
        return dialog && GetDlgItem(dialog, kFileNameField) ? dialog : nullptr;
    }
    // Types a full path into the save dialog and saves.
    void SaveAs(const std::wstring& path) {
        HWND dialog = WaitForSaveDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ControlText(GetDlgItem(dialog, kFileNameField)), "Tikkora-Setup.exe");
        SendMessageW(GetDlgItem(dialog, kFileNameField), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
    HWND UpdateDialog() const { return clock->FindWindowOfClass(L"Tupdateform"); }
    void ExpectNoTemporaryFiles() const {
        EXPECT_FALSE(Exists(clock->Folder() + L"\\versions.tmp"));
        EXPECT_FALSE(Exists(clock->Folder() + L"\\infos.tmp"));
    }
    // No message and no start question a second later; the clock still runs and closes.
    void ExpectTheClockGoesOnQuietlyAndCloses() const {
        Sleep(1000);
        EXPECT_EQ(FindMessageBox(clock->ProcessId()), nullptr);
        EXPECT_TRUE(clock->Running());
        ExpectNoTemporaryFiles();
        EXPECT_TRUE(clock->CloseAndWait());
    }

    std::unique_ptr<ClockProcess> clock;
    HWND window = nullptr;
};

HWND ChildOfClass(HWND parent, const wchar_t* className) {
    return FindWindowExW(parent, nullptr, className, nullptr);
}

} // namespace

TEST_F(UpdateEndToEnd, ASignedUpdateIsShownSavedStartedAndEndsTheClock) {
    UpdateServer server;
    Start(server, "3.0");
    const std::wstring setup = clock->Folder() + L"\\Setup.exe";
    // A file of that name is there already: the overwrite question comes.
    CloseHandle(CreateFileW(setup.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    ChooseOnlineUpdate();
    Answer(kAsk, IDYES);
    Answer(kNewer, IDYES);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = UpdateDialog()) != nullptr; }, 10000));
    EXPECT_EQ(WindowText(dialog), "Tikkora -Online-Update");
    HWND saveDialog = WaitForSaveDialog();
    ASSERT_NE(saveDialog, nullptr);
    // The notes arrived before the save dialog, shown formatted.
    const std::string notes = ControlText(ChildOfClass(dialog, L"RichEdit20W"));
    EXPECT_NE(notes.find("Neu in Tikkora 3.0"), std::string::npos) << notes;
    EXPECT_EQ(notes.find("\\rtf"), std::string::npos) << notes;

    SaveAs(setup);
    Answer(kOverwrite, IDYES);
    Answer(kStart, IDYES);
    EXPECT_TRUE(clock->WaitForExit(15000));
    EXPECT_TRUE(WaitUntil([&] { return Exists(setup + L".ran"); }, 15000));
    ExpectNoTemporaryFiles();
    EXPECT_EQ(server.RequestedPaths(),
              (std::vector<std::string>{"/3.0/versions.nf", "/3.0/hinweise.rtf",
                                        "/3.0/Tikkora-Setup.exe"}));
}

TEST_F(UpdateEndToEnd, AbbrechenDuringASlowDownloadKeepsNothingAndAsksNothing) {
    UpdateServer server([&](SOCKET client, const std::string& path, const std::string& bytes) {
        if (!path.ends_with(".exe")) {
            UpdateServer::Send(client, UpdateServer::Ok(bytes));
            return;
        }
        // A part, then silence until the test lets go.
        const std::string head =
            "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(bytes.size()) + "\r\n\r\n";
        UpdateServer::Send(client, head + bytes.substr(0, bytes.size() / 2));
        while (!server.release) {
            Sleep(50);
        }
    });
    Start(server, "3.0");
    const std::wstring setup = clock->Folder() + L"\\Setup.exe";
    ChooseOnlineUpdate();
    Answer(kAsk, IDYES);
    Answer(kNewer, IDYES);
    SaveAs(setup);
    HWND dialog = UpdateDialog();
    ASSERT_NE(dialog, nullptr);
    HWND progress = ChildOfClass(dialog, L"msctls_progress32");
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(progress, PBM_GETPOS, 0, 0) > 0; }, 10000));
    HWND button = ChildOfClass(dialog, L"Button");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ControlText(button), "Abbrechen");
    Mouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, Centre(button));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 10000));
    server.release = true;
    EXPECT_TRUE(WaitUntil([&] { return !Exists(setup); }, 5000));
    ExpectTheClockGoesOnQuietlyAndCloses();
}

TEST_F(UpdateEndToEnd, AChangedInstallerOrAnUnsignedVersionsFileIsRefused) {
    std::atomic<bool> unsigned_{false};
    UpdateServer server([&](SOCKET client, const std::string& path, const std::string& bytes) {
        std::string body = bytes;
        if (path.ends_with(".exe")) {
            body += "tampered";
        } else if (unsigned_ && path.ends_with("versions.nf")) {
            body = body.substr(0, body.find("signature="));
        }
        UpdateServer::Send(client, UpdateServer::Ok(body));
    });
    Start(server, "3.0");
    const std::wstring setup = clock->Folder() + L"\\Setup.exe";
    ChooseOnlineUpdate();
    Answer(kAsk, IDYES);
    Answer(kNewer, IDYES);
    SaveAs(setup);
    Answer(kDamaged, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return UpdateDialog() == nullptr; }, 10000));
    EXPECT_FALSE(Exists(setup));
    EXPECT_FALSE(Exists(setup + L".ran"));

    unsigned_ = true;
    ChooseOnlineUpdate();
    Answer(kAsk, IDYES);
    Answer(kNotVerified, IDOK);
    ExpectTheClockGoesOnQuietlyAndCloses();
}

TEST_F(UpdateEndToEnd, ClosingTheClockDuringATransferEndsItAtOnceAndLeavesNoFile) {
    // The transfer of held stalls; the clock is closed as by its menu, or the session ends.
    const struct {
        std::string held;
        const wchar_t* leftover;
        bool sessionEnds;
    } cases[] = {{"versions.nf", L"\\versions.tmp", false}, {".exe", L"\\Setup.exe", true}};
    for (const auto& c : cases) {
        UpdateServer server([&](SOCKET client, const std::string& path, const std::string& bytes) {
            UpdateServer::Send(client, path.ends_with(c.held) ? "HTTP/1.0 200 OK\r\n\r\nMZ"
                                                              : UpdateServer::Ok(bytes));
            while (path.ends_with(c.held) && !server.release) {
                Sleep(50);
            }
        });
        Start(server, "3.0");
        ChooseOnlineUpdate();
        Answer(kAsk, IDYES);
        if (c.sessionEnds) {
            Answer(kNewer, IDYES);
            SaveAs(clock->Folder() + L"\\Setup.exe");
        }
        const std::size_t requests = c.sessionEnds ? 3 : 1;
        ASSERT_TRUE(WaitUntil([&] { return server.RequestedPaths().size() == requests; }, 15000));
        DWORD_PTR result = 0;
        if (c.sessionEnds) {
            // To every top-level window of the program, as Windows sends them.
            for (UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
                for (HWND top : {FindWindowW(L"TApplication", L"Tikkora"), window}) {
                    SendMessageTimeoutW(top, message, message == WM_ENDSESSION, 0, SMTO_NORMAL,
                                        2000, &result);
                }
            }
        } else {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(clock->WaitForExit(2000)) << c.held;
        EXPECT_FALSE(Exists(clock->Folder() + c.leftover)) << c.held;
        server.release = true;
        // Started again at once, the clock comes up: nothing of the old one turns it away.
        ClockProcess next;
        ASSERT_TRUE(next.Start());
        EXPECT_NE(next.WaitForMainWindow(), nullptr) << c.held;
        EXPECT_TRUE(next.CloseAndWait()) << c.held;
    }
}
