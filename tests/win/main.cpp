// The Windows tests run inside one application object, as the program's code
// expects one to exist (error reports, help, owners of forms).
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace {

// A modal loop that never ends (a message box nobody answers) would hold the
// program until ctest's time-out, whose report names no test. The watchdog
// ends the program instead, naming the test that hung.
class Watchdog : public testing::EmptyTestEventListener {
  public:
    explicit Watchdog(DWORD limitMs) : limitMs_(limitMs) {
        std::thread([this] { Watch(); }).detach();
    }

  private:
    void OnTestStart(const testing::TestInfo& test) override {
        Set(std::string(test.test_suite_name()) + "." + test.name());
    }
    void OnTestEnd(const testing::TestInfo&) override { Set(""); }
    // Ending can hang as well, on a window or thread a test left behind.
    void OnTestProgramEnd(const testing::UnitTest&) override {
        Set("the program's end after the last test");
    }

    void Set(const std::string& running) {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = running;
        SetEvent(changed_);
    }

    // Each test start and end resets the wait; a wait that runs out with a
    // test under way means that test has hung.
    void Watch() {
        for (;;) {
            if (WaitForSingleObject(changed_, limitMs_) != WAIT_TIMEOUT) {
                continue;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            if (!running_.empty()) {
                std::fflush(stdout);
                std::fprintf(stderr, "\nwatchdog: stuck for %lu s in %s; ending the test program\n",
                             limitMs_ / 1000, running_.c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    const DWORD limitMs_;
    HANDLE changed_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::mutex mutex_;
    std::string running_;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Never deleted: its thread watches until the process ends.
    auto* watchdog = new Watchdog(60000);
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(watchdog);
    TApplication application;
    application.Initialize();
    application.SetTitle("Tikkora");
    application.SetHelpFile("Tikora.hlp");
    const int result = RUN_ALL_TESTS();
    listeners.Release(watchdog);
    return result;
}
