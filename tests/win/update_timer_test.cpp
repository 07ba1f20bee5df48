// The main window's update commands: the automatic check's rhythm and guards
// with the connection and a running update behind stand-ins.
#include "main_window_test.h"
#include "net_test_server.h"
#include "pump.h"
#include "update/update.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

class UpdateTimerTest : public MainWindowTest {
  protected:
    struct Started {
        int mode;
        bool timerEnabled;
        UINT interval;
    };

    TForm1& Make(const std::string& settings = "") {
        if (!settings.empty()) {
            folder.Write("Tikkora.ini", settings);
        }
        TForm1& clock = Create();
        clock.RunUpdate = [this, &clock](int mode) {
            runs.push_back({mode, Probe().UpdateCheckOn(), Probe().UpdateInterval()});
        };
        return clock;
    }
    void TearDown() override {
        UpdateRunning = false;
        MainWindowTest::TearDown();
    }

    bool connected = true;
    std::vector<Started> runs;
};

} // namespace

TEST_F(UpdateTimerTest, EveryThirtySecondsUntilAGuardLetsTheFirstCheckRun) {
    seams::SetInternetConnectedForTest([this] { return connected; });
    Make();
    EXPECT_TRUE(Probe().UpdateCheckOn());
    EXPECT_EQ(Probe().UpdateInterval(), 30000u);

    // Each guard keeps the rhythm and starts nothing.
    connected = false;
    Probe().UpdateTick();
    connected = true;
    UpdateRunning = true;
    Probe().UpdateTick();
    UpdateRunning = false;
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(Probe().UpdateInterval(), 30000u);
    EXPECT_TRUE(Probe().UpdateCheckOn());

    // Online: the automatic check, with the timer off meanwhile; then every 30 minutes.
    Probe().UpdateTick();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].mode, ModeAutomatic);
    EXPECT_FALSE(runs[0].timerEnabled);
    EXPECT_EQ(runs[0].interval, 1800000u);
    EXPECT_TRUE(Probe().UpdateCheckOn());
    EXPECT_EQ(Probe().UpdateInterval(), 1800000u);
}

TEST_F(UpdateTimerTest, AutoOffStartsNoCheckAndKeepsTheRhythm) {
    seams::SetInternetConnectedForTest([] { return true; });
    Make("[OnlineUpdate]\r\nAuto=0\r\n");
    Probe().UpdateTick();
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(Probe().UpdateInterval(), 30000u);
    // The menu item switches it on in the file; the next tick runs.
    Probe().Choose("Auto -Update");
    Probe().UpdateTick();
    EXPECT_EQ(runs.size(), 1u);
}

TEST_F(UpdateTimerTest, TheMenuCommandAsksWhateverRunsAndLeavesTheTimer) {
    seams::SetInternetConnectedForTest([] { return false; });
    Make();
    UpdateRunning = true;
    Probe().Choose("Online-U&pdate");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].mode, ModeAsked);
    EXPECT_TRUE(runs[0].timerEnabled);
    EXPECT_EQ(Probe().UpdateInterval(), 30000u);
}

TEST_F(UpdateTimerTest, ItsOwnTimerStartsTheHiddenCheckWhichLeavesTheClockOnTop) {
    seams::SetInternetConnectedForTest([] { return true; });
    seams::SetDialInternetForTest([](HWND) {});
    HWND clockWindow = nullptr;
    std::atomic<int> onTopDuringCheck{-1};
    std::string requestLine;
    NetTestServer server({[&](SOCKET client, const std::string& request) {
        requestLine = request.substr(0, request.find("\r\n"));
        onTopDuringCheck = (GetWindowLongW(clockWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        NetTestServer::Send(client, "HTTP/1.0 404 Not Found\r\n\r\n");
    }});
    folder.Write("Tikkora.ini", "[OnlineUpdate]\r\nServer=" + server.Url("/3.0") + "\r\n");
    TForm1& clock = Create();
    clockWindow = clock.Handle();
    ASSERT_TRUE(GetWindowLongW(clockWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The half minute to the first check, scaled down; the run itself is the
    // real one, with nothing to show as the server has no versions file.
    Probe().SetUpdateInterval(20);
    ASSERT_TRUE(PumpUntil([&] { return onTopDuringCheck != -1; }, 20000));
    EXPECT_TRUE(requestLine.starts_with("GET /3.0/versions.nf ")) << requestLine;
    EXPECT_EQ(onTopDuringCheck, 1);
    EXPECT_TRUE(PumpUntil([&] { return Probe().UpdateInterval() == 1800000u; }, 20000));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(GetWindowLongW(clockWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
}
