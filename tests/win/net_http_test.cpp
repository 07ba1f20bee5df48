// The HTTP client against loopback servers of the test's own: whole requests,
// redirects, servers that stall, and servers that misbehave on purpose.
#include "net/nmhttp.h"
#include "net/psock_timer.h"
#include "net_test_server.h"
#include "pump.h"
#include "temp_folder.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

namespace {

using Step = NetTestServer::Step;

const std::string kAccept =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";

std::string FileText(const std::string& path) {
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The events of one request, in their order.
struct EventLog {
    std::vector<std::string> events;
    void Attach(TNMHTTP& http) {
        http.OnSuccess = [this](TNMHTTP*, CmdType cmd) {
            events.push_back("success " + std::to_string(static_cast<int>(cmd)));
        };
        http.OnFailure = [this](TNMHTTP*, CmdType cmd) {
            events.push_back("failure " + std::to_string(static_cast<int>(cmd)));
        };
        http.OnRedirect = [this](TNMHTTP* sender, bool&) {
            events.push_back("redirect " + std::to_string(sender->ReplyNumber()));
        };
    }
};

// The failure a call ends with, as "class: text"; "none" when it returned.
template <typename Call> std::string FailureOf(Call&& call) {
    try {
        call();
    } catch (const EAbortError& e) {
        return std::string("EAbortError: ") + e.what();
    } catch (const ESockError& e) {
        return std::string("ESockError: ") + e.what();
    } catch (const Exception& e) {
        return std::string("Exception: ") + e.what();
    }
    return "none";
}

class NetHttp : public testing::Test {
  protected:
    NetHttp() { log.Attach(*http); }
    std::string BodyFile() const { return folder.Path() + "body.bin"; }
    void ToFile() {
        http->InputFileMode = true;
        http->Body = BodyFile();
    }

    TempFolder folder;
    std::unique_ptr<TNMHTTP> http = std::make_unique<TNMHTTP>();
    EventLog log;
};

} // namespace

TEST_F(NetHttp, PlainGetsIntoAFileAndIntoTheBody) {
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 5\r\nServer: t\r\n\r\n";
    NetTestServer server(
        {NetTestServer::Reply(head + "hello"),
         NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\n" + std::string(200000, 'b'))});
    int packets = 0;
    http->OnPacketRecvd = [&](TPowersock*) { ++packets; };
    ToFile();
    http->Get(server.Url("/versions.nf"));
    EXPECT_EQ(server.Requests().at(0),
              "GET /versions.nf HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccept +
                  "Content-type: application/x-www-form-urlencoded\r\n\r\n");
    EXPECT_EQ(http->Header, head);
    EXPECT_EQ(FileText(BodyFile()), "hello");
    EXPECT_EQ(http->ContentLength(), 5);
    EXPECT_EQ(http->ReceivedCount(), 5);
    EXPECT_EQ(http->ReplyNumber(), 200);
    EXPECT_GE(packets, 1);
    EXPECT_FALSE(http->Connected());

    http->InputFileMode = false;
    http->Get(server.Url("/big"));
    EXPECT_EQ(http->Body, std::string(200000, 'b'));
    EXPECT_EQ(http->ContentLength(), 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"success 0", "success 0"}));
}

TEST_F(NetHttp, ErrorsAndEmptyAnswersAreJudgedByTheirCode) {
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 404 Not Found\r\n\r\nno such file"),
                          NetTestServer::Reply(""),
                          NetTestServer::Reply("HTTP/1.0 304 Not Modified\r\n\r\n")});
    ToFile();
    http->Get(server.Url("/missing"));
    EXPECT_EQ(FileText(BodyFile()), "no such file");
    http->Get(server.Url("/closed"));
    EXPECT_EQ(http->ReplyNumber(), 0);
    EXPECT_EQ(http->Header, "");
    EXPECT_EQ(FileText(BodyFile()), "");
    http->Get(server.Url("/cached"));
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(log.events, (std::vector<std::string>{"failure 0", "success 0", "redirect 304"}));
}

TEST_F(NetHttp, RedirectsToAPathAndToAnotherServer) {
    NetTestServer target({NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\narrived")});
    // A relative location goes to the same server and port, beside the request's path.
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 302 Found\r\nLocation: next\r\n"
                                               "Set-Cookie: id=7\r\n\r\n"),
                          NetTestServer::Reply("HTTP/1.0 301 Moved\r\nLocation: " +
                                               target.Url("/final") + "\r\n\r\n")});
    http->Get(server.Url("/dir/first"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].substr(0, 30), "GET /dir/next HTTP/1.0\r\nHost: ");
    EXPECT_NE(requests[1].find("\r\nCookie: id=7\r\n"), std::string::npos);
    EXPECT_EQ(target.Requests().at(0).substr(0, 20), "GET /final HTTP/1.0\r");
    EXPECT_EQ(http->Body, "arrived");
    EXPECT_EQ(http->Url, target.Url("/final"));
    EXPECT_EQ(log.events, (std::vector<std::string>{"redirect 302", "redirect 301", "success 0"}));

    // A handler that takes the redirect ends the request there.
    NetTestServer again({NetTestServer::Reply("HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n")});
    http->OnRedirect = [](TNMHTTP*, bool& handled) { handled = true; };
    http->Get(again.Url("/"));
    EXPECT_EQ(again.Requests().size(), 1u);
}

TEST_F(NetHttp, PostSendsItsFormEncodedBodyAndTheHeaderCanGoToAFile) {
    const std::string head = "HTTP/1.0 201 Created\r\n\r\n";
    NetTestServer server({NetTestServer::Reply(head + "stored")});
    http->OutputFileMode = true;
    http->Header = folder.Path() + "head.txt";
    http->SendData = folder.Path() + "form.dat";
    std::ofstream(Widen(http->SendData).c_str(), std::ios::binary) << "a b/c";
    // With OutputFileMode the data is the name of a file and is sent as it stands.
    http->Post(server.Url("/form"), http->SendData);
    const std::string request = server.Requests().at(0);
    EXPECT_EQ(request.substr(0, 22), "POST /form HTTP/1.0\r\nH");
    EXPECT_EQ(request.substr(request.size() - 28), "\r\nContent-Length: 5\r\n\r\na b/c");
    EXPECT_EQ(FileText(http->Header), head);
    EXPECT_EQ(http->Body, "stored");

    http->OutputFileMode = false;
    http->Post(server.Url("/form"), "a b/c");
    EXPECT_EQ(server.Requests().at(1).substr(server.Requests().at(1).size() - 30),
              "\r\nContent-Length: 7\r\n\r\na+b%2Fc");
}

TEST_F(NetHttp, TimeOutLimitsASilenceNotATransferNorAMessageBoxOverIt) {
    // Kilobytes closer together than the time-out arrive whole, then silence
    // times out; a trickle below a kilobyte per time-out is silence too, though
    // the server ends it. A box's loop outlasts the time-out while the rest of
    // the body, or the server's close alone, waits unread: the transfer goes on.
    const struct {
        std::size_t piece;
        int count, silence;
        bool box, arrivesWhole;
    } cases[] = {{1024, 20, 30, false, true},
                 {1, 150, 0, false, false}, // 15 s, so that a slow client still times out first
                 {5, 1, 0, true, true},
                 {300000, 1, 0, true, true}};
    for (const auto& c : cases) {
        // Pieces 100 ms apart, then silence until the client goes or the end.
        NetTestServer server({[&c](SOCKET client, const std::string&) {
            NetTestServer::Send(client, "HTTP/1.0 200 OK\r\n\r\n");
            for (int i = 0; i < c.count && NetTestServer::Send(client, std::string(c.piece, 'c'));
                 ++i) {
                Sleep(100);
            }
            NetTestServer::WaitForClose(client, c.silence);
        }});
        ToFile();
        http->TimeOut = c.box ? 300 : 1000;
        bool boxShown = !c.box;
        http->OnPacketRecvd = [&](TPowersock*) {
            if (!std::exchange(boxShown, true)) {
                PumpFor(1000);
            }
        };
        EXPECT_EQ(FailureOf([&] { http->Get(server.Url("/slow")); }),
                  c.box ? "none" : "EAbortError: Socket capture aborted")
            << c.piece;
        EXPECT_EQ(http->TimedOut(), !c.box) << c.piece;
        EXPECT_EQ(FileText(BodyFile()) == std::string(c.count * c.piece, 'c'), c.arrivesWhole)
            << c.piece;
        EXPECT_FALSE(http->Connected()) << c.piece;
    }
}

TEST_F(NetHttp, CancelFromATimerEndsASilentDownload) {
    NetTestServer server({[](SOCKET client, const std::string&) {
        NetTestServer::Send(client, "HTTP/1.0 200 OK\r\n\r\npart");
        NetTestServer::WaitForClose(client);
    }});
    ToFile();
    TThreadTimer timer;
    timer.SetInterval(300);
    timer.SetOnTimer([&](TThreadTimer* sender) {
        if (http->ReceivedCount() > 0) {
            sender->SetEnabled(false);
            http->Cancel();
        }
    });
    EXPECT_EQ(FailureOf([&] { http->Get(server.Url("/silent")); }),
              "EAbortError: Socket capture aborted");
    EXPECT_FALSE(http->TimedOut());
    EXPECT_EQ(FileText(BodyFile()), "part");
    // The component stays usable.
    timer.SetEnabled(false);
    NetTestServer next({NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\nok")});
    http->InputFileMode = false;
    http->Get(next.Url("/"));
    EXPECT_EQ(http->Body, "ok");
}

TEST_F(NetHttp, ABodyOfManyReceiveBlocksArrivesWhole) {
    std::string body(3 * kCaptureBlockSize + 12345, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) {
        body[i] = static_cast<char>(i * 7 % 251);
    }
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\n" + body)});
    ToFile();
    http->Get(server.Url("/large"));
    EXPECT_TRUE(FileText(BodyFile()) == body);
    EXPECT_EQ(http->ReceivedCount(), static_cast<std::int32_t>(body.size()));
    http->InputFileMode = false;
    http->Get(server.Url("/large"));
    EXPECT_TRUE(http->Body == body);
}

TEST_F(NetHttp, CancelFromATimerEndsAFlowingDownloadAndTheFileKeepsWhatArrived) {
    // Data without a pause for up to ten seconds: only a cancel ends it early.
    NetTestServer server({[](SOCKET client, const std::string&) {
        NetTestServer::Send(client, "HTTP/1.0 200 OK\r\n\r\n");
        const std::string chunk(65536, 'f');
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000 && NetTestServer::Send(client, chunk)) {
        }
    }});
    ToFile();
    http->TimeOut = 5000;
    // A reader slower than the server always finds data waiting, so the timer
    // gets its turn only if the transfer itself looks at the message queue.
    http->OnPacketRecvd = [](TPowersock*) { Sleep(5); };
    TThreadTimer timer;
    timer.SetInterval(200);
    timer.SetOnTimer([&](TThreadTimer* sender) {
        if (http->ReceivedCount() > 0) {
            sender->SetEnabled(false);
            http->Cancel();
        }
    });
    EXPECT_EQ(FailureOf([&] { http->Get(server.Url("/flowing")); }),
              "EAbortError: Socket capture aborted");
    EXPECT_FALSE(http->TimedOut());
    const std::string file = FileText(BodyFile());
    EXPECT_EQ(file.size(), static_cast<std::size_t>(http->ReceivedCount()));
    EXPECT_EQ(file.find_first_not_of('f'), std::string::npos);
}

TEST_F(NetHttp, HostsThatCannotBeReached) {
    const std::string badHost = std::string(300, 'h');
    int failedConnections = 0;
    http->OnConnectionFailed = [&](TPowersock*) { ++failedConnections; };
    EXPECT_EQ(FailureOf([&] { http->Get("http://" + badHost + "/"); }),
              "ESockError: Null Remote Address");

    NetTestServer server({NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\nfound")});
    int asked = 0;
    http->OnInvalidHost = [&](TPowersock* sender, bool& handled) {
        ++asked;
        sender->Host = "127.0.0.1";
        handled = true;
    };
    http->Get("http://" + badHost + ":" + std::to_string(server.Port()) + "/");
    EXPECT_EQ(http->Body, "found");
    EXPECT_EQ(asked, 1);

    // A port where nobody listens.
    int closedPort = 0;
    {
        NetTestServer gone({});
        closedPort = gone.Port();
    }
    EXPECT_EQ(FailureOf([&] { http->Get("http://127.0.0.1:" + std::to_string(closedPort) + "/"); }),
              "ESockError: Connection Failed");
    EXPECT_EQ(failedConnections, 1);
}

TEST_F(NetHttp, TwoComponentsShareTheSocketLibrary) {
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\nsecond")});
    auto second = std::make_unique<TNMHTTP>();
    EXPECT_EQ(second->InfoList().at(0), "Version= 1.1");
    http.reset();
    second->Get(server.Url("/"));
    EXPECT_EQ(second->Body, "second");
}

TEST_F(NetHttp, HostileServersEndWithAClearError) {
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    struct Case {
        const char* name;
        Step step;
        const char* failure;
        const char* body; // null: not looked at
    };
    const Case cases[] = {
        {"endless header",
         [&](SOCKET client, const std::string&) {
             NetTestServer::Send(client, ok);
             while (NetTestServer::Send(client, "X-Filler: " + std::string(1000, 'f') + "\r\n")) {
             }
         },
         "ESockError: Response header too large", nullptr},
        {"overlong line",
         [&](SOCKET client, const std::string&) {
             NetTestServer::Send(client, ok + "X-Long: " + std::string(70000, 'l'));
             NetTestServer::WaitForClose(client);
         },
         "ESockError: Response header line too long", nullptr},
        {"reset mid-body",
         [&](SOCKET client, const std::string&) {
             NetTestServer::Send(client,
                                 ok + "Content-Length: 100000\r\n\r\n" + std::string(50000, 'r'));
             Sleep(200);
             NetTestServer::Reset(client);
         },
         // Wine reports a reset as a plain close (FD_CLOSE without error, recv 0).
         "none|ESockError: 10054:Connection reset by peer", nullptr},
        {"bytes after the length", NetTestServer::Reply(ok + "Content-Length: 2\r\n\r\nabcdef"),
         "none", "abcdef"},
        {"no status line", NetTestServer::Reply("garbage\r\n\r\nbody"), "none", "body"},
    };
    for (const Case& c : cases) {
        NetTestServer server({c.step});
        http->Header.clear();
        const std::string failure = FailureOf([&] { http->Get(server.Url("/")); });
        const std::string expected = c.failure;
        EXPECT_NE(("|" + expected + "|").find("|" + failure + "|"), std::string::npos)
            << c.name << ": " << failure;
        EXPECT_LE(http->Header.size(), 256u * 1024 + 66000) << c.name;
        EXPECT_FALSE(http->Connected()) << c.name;
        if (c.body) {
            EXPECT_EQ(http->Body, c.body) << c.name;
        } else if (std::string(c.name) == "reset mid-body") {
            EXPECT_EQ(http->Body, std::string(50000, 'r')); // what arrived stays
        }
    }
    EXPECT_EQ(http->ReplyNumber(), 0);
}

TEST_F(NetHttp, EachResponseStartsWithoutTheLocationOfAnEarlierOne) {
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 302 Found\r\nLocation: /b\r\n\r\n"),
                          NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\nb"),
                          NetTestServer::Reply("HTTP/1.0 302 Found\r\n\r\n")});
    http->Get(server.Url("/a"));
    EXPECT_EQ(http->Location(), "");
    // A redirect that names no place ends the request where it is.
    http->Get(server.Url("/c"));
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(http->ReplyNumber(), 302);
    EXPECT_EQ(log.events, (std::vector<std::string>{"redirect 302", "success 0", "redirect 302"}));
}

TEST_F(NetHttp, ControlCharactersInALocationAreRefusedAndNeverSent) {
    for (const std::string& location : {std::string("/next\rX-Evil: 1"), std::string("/next\0b", 7),
                                        std::string("http://ev\ril/x"), std::string("/a\x7f")}) {
        NetTestServer server(
            {NetTestServer::Reply("HTTP/1.0 302 Found\r\nLocation: " + location + "\r\n\r\n")});
        EXPECT_EQ(FailureOf([&] { http->Get(server.Url("/")); }),
                  "ESockError: Invalid character in URL")
            << location;
        EXPECT_EQ(server.Requests().size(), 1u) << location;
    }
}

TEST_F(NetHttp, ARedirectLoopStopsAfterTwentyRedirects) {
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 302 Found\r\nLocation: /loop\r\n\r\n")});
    EXPECT_EQ(FailureOf([&] { http->Get(server.Url("/")); }), "ESockError: Too many redirects");
    EXPECT_EQ(server.Requests().size(), 21u);
}

TEST_F(NetHttp, ABodyFileThatCannotBeMadeFailsAndLeavesTheComponentUsable) {
    NetTestServer server({NetTestServer::Reply("HTTP/1.0 200 OK\r\n\r\nx")});
    http->InputFileMode = true;
    http->Body = folder.Path() + "no\\such\\folder\\file.bin";
    EXPECT_EQ(FailureOf([&] { http->Get(server.Url("/")); }),
              "Exception: Cannot create file \"" + http->Body + "\"");
    EXPECT_FALSE(http->Connected());
    http->InputFileMode = false;
    http->Get(server.Url("/"));
    EXPECT_EQ(http->Body, "x");
}

TEST(NetPowersock, FailuresOfItsHandlersAreToldNotSwallowed) {
    seams::TestSeams seams;
    std::vector<std::string> reported;
    seams::SetMessageBoxResponderForTest([&](const seams::MessageBoxCall& call) {
        reported.push_back(call.text);
        return IDOK;
    });
    NetTestServer server(
        {[](SOCKET client, const std::string&) { NetTestServer::WaitForClose(client, 5); }});
    TPowersock socket;
    socket.Host = "127.0.0.1";
    socket.Port = server.Port();
    // A handler of a notification fails the operation that waits for it.
    socket.OnConnect = [](TPowersock*) {
        throw Exception("Verbunden, aber der Handler scheitert");
    };
    EXPECT_EQ(FailureOf([&] { socket.Connect(); }),
              "Exception: Verbunden, aber der Handler scheitert");
    socket.Disconnect();
    // A status report's failure cannot end the operation; the application tells it.
    socket.ReportLevel = 8;
    socket.OnStatus = [](TPowersock*, const std::string& status) {
        if (status == "Disconnecting") {
            throw Exception("Status gescheitert");
        }
    };
    socket.Disconnect();
    EXPECT_EQ(reported, std::vector<std::string>{"Status gescheitert"});
}

TEST(NetPowersock, ReadLnTakesOneLineAndTransactionItsNumber) {
    NetTestServer server({[](SOCKET client, const std::string&) {
        NetTestServer::Send(client, "HTTP/1.0 200 OK\r\nrest of it");
    }});
    TPowersock socket;
    socket.Host = "127.0.0.1";
    socket.Port = server.Port();
    socket.Connect();
    EXPECT_TRUE(socket.Connected());
    EXPECT_EQ(socket.Transaction("HELLO\r\n"), "HTTP/1.0 200 OK\r\n");
    EXPECT_EQ(socket.ReplyNumber(), 0); // starts with a letter
    std::string rest;
    socket.CaptureString(rest, -1);
    EXPECT_EQ(rest, "rest of it");
    EXPECT_EQ(socket.ReadLn(), "");
    socket.Disconnect();
    EXPECT_EQ(server.Requests().at(0), "HELLO\r\n\r\n");

    NetTestServer numbered({NetTestServer::Reply("250-ready\r\n")});
    socket.Port = numbered.Port();
    socket.Connect();
    socket.Transaction("X\r\n");
    EXPECT_EQ(socket.ReplyNumber(), 250);
}
