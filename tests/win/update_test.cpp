// The update run in this process against a loopback server that serves the
// signed update folders of the build: the boxes are answered and recorded,
// the save dialog chooses a file of the test's folder, the shell records.
#include "net_test_server.h"
#include "printed.h"
#include "settings/settings_file.h"
#include "temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/gdi.h"
#include "toolkit/seams.h"
#include "update/signature_check.h"
#include "update/trusted_keys.h"
#include "update/update.h"
#include "update/updateform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string SiteFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string file = Narrow(std::wstring_view(path, length));
    return file.substr(0, file.find_last_of('\\')) + "\\update_site\\";
}

std::string RequestPath(const std::string& request) {
    if (request.find(' ') == std::string::npos) {
        return "/";
    }
    const auto start = request.find(' ') + 1;
    return request.substr(start, request.find(' ', start) - start);
}

std::string Answer(const std::string& body, const std::string& status = "200 OK") {
    return "HTTP/1.0 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

// The start of the text the update dialog's viewer shows.
std::string ShownNotes(HWND dialog) {
    wchar_t text[256] = {};
    GetWindowTextW(FindWindowExW(dialog, nullptr, L"RichEdit20W", nullptr), text, 256);
    return Narrow(text);
}

// The dialog's status line.
std::string Status(HWND dialog) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, 103, text, 256);
    return Narrow(text);
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the server does with one file: its bytes as they are, changed, or a
// special answer instead.
using Serve = std::function<void(SOCKET client, const std::string& path, std::string bytes)>;

class UpdateRunTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    TempFolder folder;
    std::vector<seams::MessageBoxCall> boxes;
    std::vector<int> answers; // for the boxes in order; then IDNO
    std::vector<seams::ShellCall> shellCalls;
    std::vector<std::string> saveProposals;
    std::string saveAs;
    // Runs when the save dialog would show, with the dialog's window.
    std::function<void(HWND)> onSaveDialog;
    // Runs while a box is up, before it is answered.
    std::function<void(const seams::MessageBoxCall&)> onBox;
    std::unique_ptr<NetTestServer> server;

    void SetUp() override {
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            boxes.push_back(call);
            if (onBox) {
                onBox(call);
            }
            return boxes.size() <= answers.size() ? answers[boxes.size() - 1] : IDNO;
        });
        seams::SetShellHandlerForTest([this](const seams::ShellCall& call) {
            shellCalls.push_back(call);
            return true;
        });
        seams::SetSaveDialogForTest(
            [this](const seams::SaveDialogCall& call) -> std::optional<std::string> {
                saveProposals.push_back(call.proposedName);
                if (onSaveDialog) {
                    onSaveDialog(call.owner);
                }
                if (saveAs.empty()) {
                    return std::nullopt;
                }
                return saveAs;
            });
        seams::SetDialInternetForTest([](HWND) {});
        UpdateRunning = false;
    }

    // Serves the site's folder for one version; serve may change a file's answer.
    void StartServer(Serve serve = nullptr) {
        server = std::make_unique<NetTestServer>(
            std::vector<NetTestServer::Step>{[serve](SOCKET client, const std::string& request) {
                const std::string path = RequestPath(request);
                std::string bytes = ReadFile(SiteFolder() + path.substr(1));
                if (path == "/") {
                    return;
                }
                if (serve) {
                    serve(client, path, bytes);
                } else {
                    NetTestServer::Send(client, Answer(bytes));
                }
            }});
    }

    void Run(int mode, const std::string& version) {
        folder.Write("Tikkora.ini",
                     "[OnlineUpdate]\r\nServer=" + server->Url("/" + version).substr(0) + "\r\n");
        // Url() gives the address with the path; the key wants it without a trailing "/".
        TSettingsFile settings(folder.File("Tikkora.ini"));
        onlineupdate(mode, Environment(settings));
    }
    UpdateEnvironment Environment(const TSettingsFile& settings) const {
        UpdateEnvironment environment{*Application, &settings, folder.Path()};
        environment.owner = owner;
        // The downloads start at once: the dialog's second of waiting shows no test anything.
        environment.downloadDelayMs = 10;
        if (versionsDeadlineMs > 0) {
            environment.versionsDeadlineMs = versionsDeadlineMs;
        }
        if (silenceTimeOutMs > 0) {
            environment.silenceTimeOutMs = silenceTimeOutMs;
        }
        return environment;
    }
    // The clock's window, when a test gives the run one; the deadline and the
    // silence time-out of the versions file.
    HWND owner = nullptr;
    int versionsDeadlineMs = 0;
    int silenceTimeOutMs = 0;

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }
    void ExpectNoTemporaryFiles() {
        EXPECT_FALSE(Exists(folder.File("versions.tmp")));
        EXPECT_FALSE(Exists(folder.File("infos.tmp")));
        EXPECT_FALSE(UpdateRunning);
    }
};

// Suites of their own: each is one entry of the test run with its own time.
class UpdateNotesTest : public UpdateRunTest {};
class UpdateDownloadTest : public UpdateRunTest {};
class UpdateSilenceTest : public UpdateRunTest {};

class UpdateLimitsTest : public UpdateRunTest {
  protected:
    // Whether the last endless answer could not send all it had: the client stopped reading.
    std::atomic<bool> cut{false};
    UniqueHandle<HANDLE, KernelHandleDeleter> served{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    // The file whose path ends in suffix is answered by head and then by
    // count blocks, a pause after each; the others as they are.
    Serve Endless(std::string suffix, std::string head, std::string block, int count, int pause) {
        return [=, this](SOCKET client, const std::string& path, std::string bytes) {
            if (!path.ends_with(suffix)) {
                NetTestServer::Send(client, Answer(bytes));
                return;
            }
            bool sent = NetTestServer::Send(client, head);
            for (int i = 0; sent && i < count; ++i, Sleep(pause)) {
                sent = NetTestServer::Send(client, block);
            }
            cut = !sent;
            SetEvent(served.get());
        };
    }
};

// Counts the update dialog's windows made on this thread while it lives.
class DialogWindowsMade {
  public:
    DialogWindowsMade() : hook_(SetWindowsHookExW(WH_CBT, Count, nullptr, GetCurrentThreadId())) {
        made_ = 0;
    }
    ~DialogWindowsMade() { UnhookWindowsHookEx(hook_); }
    int Count() const { return made_; }

  private:
    static LRESULT CALLBACK Count(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if (!IS_INTRESOURCE(create->lpszClass) &&
                std::wstring(create->lpszClass) == L"Tupdateform") {
                ++made_;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int made_ = 0;
    HHOOK hook_;
};

// The boxes' texts as the user reads them, typed here so that a slip in the
// program's own copy shows.
const std::string kAsk = "Soll eine Internetverbindung hergestellt, und nach einer \r\n"
                         "aktualisierten Version von Tikkora gesucht werden?";
const std::string kNewer = "Ihre Programmversion von Tikkora ist nicht mehr aktuell! \r\n"
                           "Um das Online-Update zu starten, klicken Sie bitte auf JA";
const char* const kNoInformation = "Es konnten keine Versionsinformationen vom Server "
                                   "empfangen werden. \r\nBitte versuchen Sie es später noch "
                                   "einmal.";
const char* const kAlreadyNewest = "Sie benutzen bereits die aktuellste Version des Programms.";
const char* const kStartSetup =
    "Download abgeschlossen. \r\nSoll das heruntergeladene Setup nun ausgeführt werden?";
const char* const kOverwrite =
    "Eine Datei mit diesem Namen existiert bereits! \r\nSoll diese überschrieben werden?";
const char* const kFailed = "Update fehlgeschlagen. Bitte erneut versuchen!";
const char* const kNotesMissing = "Die Hinweise zum Update konnten nicht geladen werden.";
const std::string kBadAddress = "\r\nDie Adresse der Datei auf dem Server ist ungültig.";
// A redirect whose port is a text of the server's for the clock's boxes.
const std::string kTalkingRedirect =
    "HTTP/1.0 302 Found\r\nLocation: http://x:Bitte laden Sie Version 9 von evil herunter.\r\n\r\n";
const char* const kDamaged = "Das heruntergeladene Setup ist beschädigt oder wurde unterwegs "
                             "verändert. \r\nEs wurde gelöscht und wird nicht ausgeführt.";

} // namespace

TEST(UpdateSignatureCng, AFixedVectorOfTheTestKeyVerifiesAndNothingChangedDoes) {
    // Made with openssl and the test key for an installer holding the bytes
    // "hello installer" and notes holding "hello notes".
    const auto digest = Sha256OfBytes("hello installer");
    ASSERT_TRUE(digest);
    const std::string hash = ToHex(digest->data(), digest->size());
    EXPECT_EQ(hash, "eae0cbc42518dee9f2bf1dfa8fc21b94a2818c56c61e094f597d739e47dee546");
    const std::string notes = "2dde09929b5360eb771a1408060677f31e6fb2ee9e15af4fa5d30a169e4f2688";
    const auto signature = ParseSignatureHex(
        "6640fc046816fbadec011799e08137a60f7f34b81f91f7e11c5c97550a837599b0c59d09c6622ad02a233be"
        "f16ba0a0a3fe89e9eb454e8c2a52f0dbcc22701bb");
    ASSERT_TRUE(signature);
    const auto message = [&](const char* version, const char* file1, const std::string& sha256,
                             const char* infos, const std::string& infosSha256) {
        return SignedUpdateMessage("Tikkora", version, file1, sha256, infos, infosSha256);
    };
    const std::string good = message("2.5", "setup.exe", hash, "notes.rtf", notes);
    EXPECT_TRUE(SignedByTrustedKey(good, *signature));
    // A valid P-256 key (x then y, read as 64 bytes) whose private half nobody holds.
    const auto otherKey = ParseSignatureHex(
        "e8820857027576eba6ba0ef357e60e5113beb1e5c052420fea8ed7dc8d16e835323999176cdfb5b007abf3f"
        "e0c175a6ae81825eda0642c6c15cb5be142da7d3a");
    EXPECT_FALSE(VerifyEcdsaP256(good, *signature, *otherKey));
    for (const std::string& changed :
         {message("9.9", "setup.exe", hash, "notes.rtf", notes),
          message("2.5", "setup.exe", std::string(64, '0'), "notes.rtf", notes),
          message("2.5", "setup.exe", hash, "other.rtf", notes),
          message("2.5", "setup.exe", hash, "notes.rtf", std::string(64, '0')),
          message("2.5", "setup.exe", hash, "", "")}) {
        EXPECT_FALSE(SignedByTrustedKey(changed, *signature)) << changed;
    }
    auto flipped = *signature;
    flipped[10] ^= 1;
    EXPECT_FALSE(SignedByTrustedKey(good, flipped));
    // A signature of the first message form, which covered no notes, fits no message now.
    const auto first = ParseSignatureHex(
        "42e3d4c7309070b942ae8056adee1770d44025d07955deb15654ce6731c96b46f284cef563cecd4a49c73f7"
        "c10b9737a08d42b53731ab2fbcfa6e108180e8e4b");
    ASSERT_TRUE(first);
    EXPECT_FALSE(SignedByTrustedKey(message("2.5", "setup.exe", hash, "", ""), *first));
}

TEST(UpdateSignatureCng, FilesHashAsTheirBytes) {
    TempFolder folder;
    folder.Write("abc", "abc");
    const auto digest = Sha256OfFile(folder.File("abc"));
    ASSERT_TRUE(digest);
    EXPECT_EQ(ToHex(digest->data(), digest->size()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(Sha256OfFile(folder.File("missing")));
}

TEST_F(UpdateRunTest, AskedFirstAndNoMeansNoNetworkAtAll) {
    StartServer();
    Run(ModeAsked, "3.0");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kAsk);
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(server->Requests().empty());
    ExpectNoTemporaryFiles();
}

TEST_F(UpdateRunTest, TheSameOrAnOlderVersionIsReportedOnlyWhenAsked) {
    for (const char* version : {"2.4", "2.40", "2.10"}) {
        boxes.clear();
        answers = {IDYES};
        StartServer();
        Run(ModeAsked, version);
        EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kAlreadyNewest})) << version;
        EXPECT_EQ(boxes.back().flags, UINT(MB_ICONINFORMATION));
        EXPECT_EQ(RequestPath(server->Requests().at(0)),
                  std::string("/") + version + "/versions.nf");
        boxes.clear();
        DialogWindowsMade dialogs;
        Run(ModeAutomatic, version);
        EXPECT_TRUE(boxes.empty()) << version;
        // The check every clock makes after its start opens no window.
        EXPECT_EQ(dialogs.Count(), 0) << version;
        ExpectNoTemporaryFiles();
    }
}

TEST_F(UpdateRunTest, WhatIsNotSignedIsSaidSoAndWhatIsNotReadableIsNoVersionInformation) {
    auto versions = [](std::function<std::string(const std::string&)> change) -> Serve {
        return [change](SOCKET client, const std::string& path, std::string bytes) {
            NetTestServer::Send(client,
                                Answer(path.ends_with("versions.nf") ? change(bytes) : bytes));
        };
    };
    auto without = [](const std::string& key) {
        return [key](const std::string& bytes) {
            std::string changed = bytes;
            const auto at = changed.find(key + "=");
            changed.erase(at, changed.find('\n', at) + 1 - at);
            return changed;
        };
    };
    auto replaced = [](const std::string& from, const std::string& to) {
        return [from, to](const std::string& bytes) {
            std::string changed = bytes;
            changed.replace(changed.find(from), from.size(), to);
            return changed;
        };
    };
    const std::string unverified = "Die Versionsinformationen des Servers konnten nicht "
                                   "überprüft werden. \r\nDas Update wird deshalb nicht angeboten.";
    const struct {
        const char* what;
        Serve serve;
        std::string message;
    } cases[] = {
        {"unsigned", versions(without("signature")), unverified},
        {"signature cut", versions(replaced("signature=", "signature=0")), unverified},
        {"no hash", versions(without("sha256")), unverified},
        {"version raised", versions(replaced("version=3.0", "version=3.1")), unverified},
        {"other installer", versions(replaced("file1=Tikkora-Setup.exe", "file1=Old.exe")),
         unverified},
        {"other section", versions(replaced("[Tikkora]", "[Tikora]")), kNoInformation},
        {"10 MB", versions([](const std::string& bytes) {
             return bytes + "[Pad]\r\n" + std::string(10 << 20, 'x') + "\r\n";
         }),
         kNoInformation},
        {"404",
         [](SOCKET client, const std::string&, std::string) {
             NetTestServer::Send(client, Answer("nothing", "404 Not Found"));
         },
         kNoInformation},
        {"closed", [](SOCKET, const std::string&, std::string) {}, kNoInformation},
        {"server's text",
         [](SOCKET client, const std::string&, std::string) {
             NetTestServer::Send(client, kTalkingRedirect);
         },
         kNoInformation + kBadAddress},
    };
    for (const auto& c : cases) {
        boxes.clear();
        answers = {IDYES};
        StartServer(c.serve);
        Run(ModeAsked, "3.0");
        EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, c.message})) << c.what;
        ExpectNoTemporaryFiles();
        // The automatic check says nothing either way.
        boxes.clear();
        Run(ModeAutomatic, "3.0");
        EXPECT_TRUE(boxes.empty()) << c.what;
    }
}

TEST_F(UpdateRunTest, NoServerIsNoVersionInformationWhateverAnEarlierRunLeft) {
    StartServer();
    const std::string url = server->Url("/3.0");
    server.reset();
    folder.Write("versions.tmp", ReadFile(SiteFolder() + "3.0\\versions.nf"));
    folder.Write("Tikkora.ini", "[OnlineUpdate]\r\nServer=" + url + "\r\n");
    answers = {IDYES};
    TSettingsFile settings(folder.File("Tikkora.ini"));
    onlineupdate(ModeAsked, UpdateEnvironment{*Application, &settings, folder.Path()});
    EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kNoInformation}));
    ExpectNoTemporaryFiles();
}

TEST_F(UpdateRunTest, SignedVersionsThatAreNoNumbersAreNoInformation) {
    const struct {
        const char* version;
        std::string message;
    } cases[] = {{"abc", kNoInformation}, {"1e999", kNoInformation}, {"-0", kAlreadyNewest}};
    for (const auto& c : cases) {
        boxes.clear();
        answers = {IDYES};
        StartServer();
        Run(ModeAsked, c.version);
        EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, c.message})) << c.version;
    }
}

TEST_F(UpdateNotesTest, NotesOtherThanTheSignedOnesAreReportedAsMissingAndTheUpdateGoesOn) {
    auto notes = [](std::function<void(SOCKET, const std::string&)> answer) -> Serve {
        return [answer](SOCKET client, const std::string& path, std::string bytes) {
            if (path.ends_with(".rtf")) {
                answer(client, bytes);
            } else {
                NetTestServer::Send(client, Answer(bytes));
            }
        };
    };
    const struct {
        const char* what;
        Serve serve;
    } cases[] = {
        {"changed", notes([](SOCKET c, auto& b) { NetTestServer::Send(c, Answer(b + " ")); })},
        {"cut short", notes([](SOCKET c, auto& b) {
             NetTestServer::Send(c, Answer(b).substr(0, Answer(b).size() - 5));
         })},
        {"404",
         notes([](SOCKET c, auto&) { NetTestServer::Send(c, Answer("weg", "404 Not Found")); })},
        {"never came", notes([](SOCKET, auto&) {})},
    };
    // The report of the missing notes, then the save dialog without them.
    answers = {IDYES, IDYES, IDOK};
    std::string shownNotes, statusAtBox, statusAtSave;
    onBox = [&](const seams::MessageBoxCall&) {
        statusAtBox = Status(FindWindowW(L"Tupdateform", nullptr));
    };
    onSaveDialog = [&](HWND dialog) {
        shownNotes = ShownNotes(dialog);
        statusAtSave = Status(dialog);
    };
    for (const auto& c : cases) {
        boxes.clear();
        saveProposals.clear();
        StartServer(c.serve);
        Run(ModeAsked, "3.0");
        ASSERT_EQ(boxes.size(), 3u) << c.what;
        EXPECT_EQ(boxes[2].text, "Die Hinweise zum Update konnten nicht geladen werden.") << c.what;
        EXPECT_EQ(boxes[2].flags, UINT(MB_ICONERROR)) << c.what;
        EXPECT_EQ(statusAtBox, "Die Hinweise zum Update werden geladen ...") << c.what;
        EXPECT_EQ(saveProposals.size(), 1u) << c.what;
        EXPECT_EQ(shownNotes, "") << c.what;
        EXPECT_EQ(statusAtSave, "Bitte wählen Sie, wo das Setup gespeichert werden soll.");
        ExpectNoTemporaryFiles();
    }
}

TEST_F(UpdateNotesTest, ASignedReleaseWithoutNotesIsOfferedWithoutThem) {
    answers = {IDYES, IDYES, IDNO};
    saveAs = folder.File("Setup.exe");
    std::string shownNotes = "not looked at";
    onSaveDialog = [&](HWND dialog) { shownNotes = ShownNotes(dialog); };
    StartServer();
    Run(ModeAsked, "ohne-hinweise");
    EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kNewer, kStartSetup}));
    EXPECT_EQ(shownNotes, "");
    const auto requests = server->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(RequestPath(requests[1]), "/ohne-hinweise/Tikkora-Setup.exe");
    ExpectNoTemporaryFiles();
}

TEST_F(UpdateRunTest, ANewerVersionIsOfferedInBothModesAndNoEndsIt) {
    for (int mode : {ModeAsked, ModeAutomatic}) {
        boxes.clear();
        answers = mode == ModeAsked ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDNO};
        StartServer();
        Run(mode, "3.0");
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, kNewer);
        EXPECT_EQ(boxes.back().flags, UINT(MB_YESNO | MB_ICONINFORMATION));
        EXPECT_TRUE(saveProposals.empty());
        EXPECT_EQ(server->Requests().size(), 1u);
        ExpectNoTemporaryFiles();
    }
}

TEST_F(UpdateRunTest, ACompleteSignedDownloadIsOfferedToStart) {
    answers = {IDYES, IDYES, IDNO};
    saveAs = folder.File("Setup gespeichert.exe");
    // A file of the user's that bears the name a download in progress might take.
    folder.Write("Setup gespeichert.exe.part", "mine");
    std::string shownNotes;
    onSaveDialog = [&](HWND dialog) { shownNotes = ShownNotes(dialog); };
    StartServer();
    Run(ModeAsked, "3.0");
    EXPECT_EQ(shownNotes.rfind("Neu in Tikkora 3.0", 0), 0u) << shownNotes;
    EXPECT_EQ(saveProposals, std::vector<std::string>{"Tikkora-Setup.exe"});
    EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kNewer, kStartSetup}));
    EXPECT_EQ(ReadFile(saveAs), ReadFile(SiteFolder() + "3.0\\Tikkora-Setup.exe"));
    EXPECT_EQ(ReadFile(saveAs + ".part"), "mine");
    // No at the start question: the installer stays, nothing is started.
    EXPECT_TRUE(shellCalls.empty());
    const auto requests = server->Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(RequestPath(requests[1]), "/3.0/hinweise.rtf");
    EXPECT_EQ(RequestPath(requests[2]), "/3.0/Tikkora-Setup.exe");
    ExpectNoTemporaryFiles();
}

TEST_F(UpdateRunTest, AnExistingFileIsOverwrittenOnlyAfterAsking) {
    folder.Write("Setup.exe", "old");
    saveAs = folder.File("Setup.exe");
    // No to overwriting shows the save dialog again; cancelled there, nothing is fetched.
    answers = {IDYES, IDYES, IDNO};
    int shown = 0;
    onSaveDialog = [&](HWND) {
        if (++shown == 2) {
            saveAs.clear();
        }
    };
    StartServer();
    Run(ModeAsked, "3.0");
    EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kNewer, kOverwrite}));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(ReadFile(folder.File("Setup.exe")), "old");
    EXPECT_EQ(server->Requests().size(), 2u);
    ExpectNoTemporaryFiles();
}

TEST_F(UpdateDownloadTest, AFailedOrChangedInstallerIsDeletedAndNeverOffered) {
    auto installer = [](std::function<void(SOCKET, std::string)> answer) -> Serve {
        return [answer](SOCKET client, const std::string& path, std::string bytes) {
            if (path.ends_with(".exe")) {
                answer(client, bytes);
            } else {
                NetTestServer::Send(client, Answer(bytes));
            }
        };
    };
    const struct {
        const char* what;
        Serve serve;
        std::string message;
    } cases[] = {
        {"tampered",
         installer([](SOCKET c, std::string b) { NetTestServer::Send(c, Answer(b + "x")); }),
         kDamaged},
        {"404", installer([](SOCKET c, std::string) {
             NetTestServer::Send(c, Answer("weg", "404 Not Found"));
         }),
         kFailed},
        {"redirect loop", installer([](SOCKET c, std::string) {
             NetTestServer::Send(c,
                                 "HTTP/1.0 302 Found\r\nLocation: /3.0/Tikkora-Setup.exe\r\n\r\n");
         }),
         kFailed},
        {"server's text",
         installer([](SOCKET c, std::string) { NetTestServer::Send(c, kTalkingRedirect); }),
         kFailed + kBadAddress},
        {"cut short", installer([](SOCKET c, std::string b) {
             NetTestServer::Send(c, "HTTP/1.0 200 OK\r\nContent-Length: " +
                                        std::to_string(b.size()) + "\r\n\r\n" + b.substr(0, 100));
             NetTestServer::Reset(c);
         }),
         kFailed},
    };
    for (const auto& c : cases) {
        boxes.clear();
        answers = {IDYES, IDYES, IDYES, IDOK};
        // The user's file, which only a checked installer may replace.
        folder.Write("Setup.exe", "old");
        folder.Write("Setup.exe.part", "mine");
        saveAs = folder.File("Setup.exe");
        StartServer(c.serve);
        Run(ModeAsked, "3.0");
        EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kNewer, kOverwrite, c.message}))
            << c.what;
        EXPECT_EQ(boxes.back().flags, UINT(MB_ICONERROR)) << c.what;
        EXPECT_EQ(ReadFile(saveAs), "old") << c.what;
        EXPECT_EQ(ReadFile(saveAs + ".part"), "mine") << c.what;
        EXPECT_FALSE(Exists(saveAs + ".2.part")) << c.what;
        EXPECT_TRUE(shellCalls.empty());
        ExpectNoTemporaryFiles();
    }
}

TEST_F(UpdateDownloadTest, ATargetThatCannotBeWrittenIsAFailedDownloadThatSaysWhy) {
    saveAs = folder.File("missing\\Setup.exe");
    answers = {IDYES, IDYES, IDOK};
    StartServer();
    Run(ModeAsked, "3.0");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, "Update fehlgeschlagen. Bitte erneut versuchen!\r\n"
                             "Die Datei konnte nicht angelegt oder geschrieben werden.");
    EXPECT_FALSE(Exists(saveAs));
    EXPECT_TRUE(shellCalls.empty());
    ExpectNoTemporaryFiles();
}

TEST_F(UpdateDownloadTest, AbbrechenDuringTheNotesOrTheInstallerEndsTheRunWithoutAMessage) {
    saveAs = folder.File("Setup.exe");
    for (const std::string stalls : {".rtf", ".exe"}) {
        boxes.clear();
        saveProposals.clear();
        answers = {IDYES, IDYES};
        StartServer([stalls](SOCKET client, const std::string& path, std::string bytes) {
            if (!path.ends_with(stalls)) {
                NetTestServer::Send(client, Answer(bytes));
                return;
            }
            NetTestServer::Send(client, "HTTP/1.0 200 OK\r\nContent-Length: 99999\r\n\r\nMZ");
            // "Abbrechen" while the rest is awaited.
            Sleep(200);
            PostMessageW(FindWindowW(L"Tupdateform", nullptr), WM_COMMAND,
                         MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            NetTestServer::WaitForClose(client);
        });
        Run(ModeAsked, "3.0");
        // After the notes nothing is offered to save.
        EXPECT_EQ(saveProposals.size(), stalls == ".exe" ? 1u : 0u) << stalls;
        EXPECT_EQ(Texts(), (std::vector<std::string>{kAsk, kNewer})) << stalls;
        EXPECT_FALSE(Exists(saveAs)) << stalls;
        EXPECT_FALSE(Exists(saveAs + ".part")) << stalls;
        ExpectNoTemporaryFiles();
    }
}

TEST_F(UpdateSilenceTest, AServerThatStaysSilentEndsEachTransferAsAFailure) {
    // The silence ends it: the deadline of the versions file comes only after the test's own limit.
    silenceTimeOutMs = 500;
    versionsDeadlineMs = 600000;
    saveAs = folder.File("Setup.exe");
    // "Abbrechen" after the missing notes are told.
    onBox = [](const seams::MessageBoxCall& call) {
        if (call.text == kNotesMissing) {
            PostMessageW(call.owner, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    };
    const struct {
        const char* stalls;
        std::vector<std::string> texts;
    } cases[] = {{"versions.nf", {kAsk, kNoInformation}},
                 {".rtf", {kAsk, kNewer, kNotesMissing}},
                 {".exe", {kAsk, kNewer, kFailed}}};
    for (const auto& c : cases) {
        boxes.clear();
        answers = {IDYES, IDYES, IDOK};
        // The header, then silence; the rest only to a client still waiting after 5 s.
        StartServer([stalls = std::string(c.stalls)](SOCKET client, const std::string& path,
                                                     std::string bytes) {
            const std::string answer = Answer(bytes);
            const std::size_t body = path.ends_with(stalls) ? answer.find("\r\n\r\n") + 4 : 0;
            NetTestServer::Send(client, answer.substr(0, body));
            NetTestServer::WaitForClose(client, body ? 5 : 0);
            NetTestServer::Send(client, answer.substr(body));
        });
        Run(ModeAsked, "3.0");
        EXPECT_EQ(Texts(), c.texts) << c.stalls;
        EXPECT_FALSE(Exists(saveAs)) << c.stalls;
        ExpectNoTemporaryFiles();
    }
}

TEST(UpdateDialog, ItsPictureIsAGlobeBehindAFloppyDisk) {
    UpdateRunState run;
    Tupdateform dialog(UpdateEnvironment{*Application, nullptr, ""}, run);
    dialog.CreateHandle();
    const Printed shown(dialog.Handle(), 48, 48);
    // The picture's corner lies at 8, 11.
    EXPECT_EQ(shown.At(8 + 6, 11 + 19), RGB(40, 110, 210)) << "the globe's sea";
    EXPECT_EQ(shown.At(8 + 14, 11 + 17), RGB(30, 40, 90)) << "the disk in front";
    EXPECT_EQ(shown.At(8 + 20, 11 + 30), RGB(250, 250, 250)) << "the disk's label";
}

TEST_F(UpdateLimitsTest, ATransferPastItsSizeOrTimeIsStoppedAsItArrives) {
    const std::string ok = "HTTP/1.0 200 OK\r\n", block(64 << 10, 'x');
    const struct {
        const char* what;
        Serve serve;
        int deadlineMs;
        std::vector<std::string> texts;
    } cases[] = {
        {"versions past 64 KB",
         Endless("versions.nf", ok + "\r\n[Tikkora]\r\n", block, 512, 0),
         600000,
         {kAsk, kNoInformation}},
        {"notes past 1 MB",
         Endless(".rtf", ok + "\r\n", block, 512, 0),
         600000,
         {kAsk, kNewer, kStartSetup}},
        {"installer announcing 2 GB",
         Endless(".exe", ok + "Content-Length: 2147483647\r\n\r\n", block, 512, 0),
         600000,
         {kAsk, kNewer, kFailed}},
        {"installer past its length",
         Endless(".exe", ok + "Content-Length: 1000\r\n\r\n", block, 512, 0),
         600000,
         {kAsk, kNewer, "Update fehlgeschlagen. Bitte erneut versuchen!"}},
        {"versions past their time",
         Endless("versions.nf", ok + "Content-Length: 100000\r\n\r\n", "x", 200, 30),
         500,
         {kAsk, kNoInformation}},
    };
    for (const auto& c : cases) {
        boxes.clear();
        cut = false;
        ResetEvent(served.get());
        answers = {IDYES, IDYES, IDOK};
        saveAs = folder.File("Setup.exe");
        versionsDeadlineMs = c.deadlineMs;
        StartServer(c.serve);
        Run(ModeAsked, "3.0");
        ASSERT_EQ(WaitForSingleObject(served.get(), 60000), WAIT_OBJECT_0) << c.what;
        EXPECT_EQ(Texts(), c.texts) << c.what;
        EXPECT_TRUE(cut) << c.what << ": sent to the end";
        ExpectNoTemporaryFiles();
        DeleteFileW(Widen(saveAs).c_str());
    }
}

TEST_F(UpdateRunTest, TheBoxesAndTheDialogBelongToTheClockAndOneRunRunsAtATime) {
    owner = CreateWindowExW(0, L"STATIC", L"Uhr", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                            nullptr, nullptr, nullptr);
    StartServer();
    folder.Write("Tikkora.ini", "[OnlineUpdate]\r\nServer=" + server->Url("/3.0") + "\r\n");
    TSettingsFile settings(folder.File("Tikkora.ini"));
    answers = {IDYES};
    // A click on "Online-U&pdate" while the automatic check is up.
    onBox = [&](const seams::MessageBoxCall&) {
        if (boxes.size() == 1) {
            onlineupdate(ModeAsked, Environment(settings));
        }
    };
    HWND dialogOwner = nullptr;
    bool ownerEnabled = true;
    onSaveDialog = [&](HWND dialog) {
        dialogOwner = GetWindow(dialog, GW_OWNER);
        ownerEnabled = IsWindowEnabled(owner);
    };
    onlineupdate(ModeAutomatic, Environment(settings));
    EXPECT_EQ(Texts(), std::vector<std::string>{kNewer});
    EXPECT_EQ(boxes.at(0).owner, owner);
    EXPECT_EQ(dialogOwner, owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(server->Requests().size(), 2u);
    DestroyWindow(owner);
}

TEST_F(UpdateDownloadTest, TheCheckedInstallerStaysUnchangedUntilStartedAndAFailedStartIsSaid) {
    answers = {IDYES, IDYES, IDYES};
    saveAs = folder.File("Setup.exe");
    std::vector<bool> changeableAt;
    // Whether anyone else could write or delete the installer now.
    auto changeable = [&] {
        HANDLE file = CreateFileW(Widen(saveAs).c_str(), GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        changeableAt.push_back(file != INVALID_HANDLE_VALUE);
        CloseHandle(file);
    };
    onBox = [&](const seams::MessageBoxCall& call) {
        if (call.text == kStartSetup) {
            changeable();
        }
    };
    bool readableByItself = false;
    seams::SetShellHandlerForTest([&](const seams::ShellCall&) {
        changeable();
        // An installer reads its own file, sharing reading alone.
        HANDLE self = CreateFileW(Widen(saveAs).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        readableByItself = self != INVALID_HANDLE_VALUE;
        CloseHandle(self);
        return false;
    });
    StartServer();
    Run(ModeAsked, "3.0");
    EXPECT_EQ(changeableAt, (std::vector<bool>{false, false}));
    EXPECT_TRUE(readableByItself);
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           kAsk, kNewer, kStartSetup,
                           "Das heruntergeladene Setup konnte nicht gestartet werden."}));
    EXPECT_EQ(boxes.back().flags, UINT(MB_ICONERROR));
    // The clock keeps running: no end of the program is on its way.
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // Let go after the run: the installer is the user's again.
    EXPECT_TRUE(DeleteFileW(Widen(saveAs).c_str()));
}
