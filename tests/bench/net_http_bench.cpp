// The HTTP client's cost, driven by scripts/bench-http.sh, which reads the
// processor time of this process and of the Wine server from outside:
//   net_http_bench get URL FILE [TIMEOUT-MS]   a Get of URL into FILE
//   net_http_bench silent URL SECONDS          a Get from a server that stays
//                                              silent, ended by Cancel
// Each mode prints "ready" before the work and "done ..." after it, then stays
// idle for a while, so the script can read the counters at both marks.
#include "net/nmhttp.h"
#include "net/psock_timer.h"
#include "toolkit/application.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return value(kernel) + value(user);
}

// The outside reader polls for the marks; the pauses keep its readings clear
// of the process's start and end.
void Mark(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

int Usage() {
    std::fprintf(stderr, "usage: net_http_bench get URL FILE [TIMEOUT-MS] | silent URL SECONDS\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return Usage();
    }
    const std::string mode = argv[1];
    if (mode != "get" && mode != "silent") {
        return Usage();
    }
    TApplication application;
    application.Initialize();
    TNMHTTP http;
    // The update dialog follows the progress the same way.
    long packets = 0;
    http.OnPacketRecvd = [&](TPowersock*) { ++packets; };

    TThreadTimer stopper;
    stopper.SetEnabled(false);
    if (mode == "get") {
        http.InputFileMode = true;
        http.Body = argv[3];
        http.TimeOut = argc > 4 ? std::stoi(argv[4]) : 0;
    } else {
        stopper.SetInterval(static_cast<UINT>(std::stoi(argv[3]) * 1000));
        stopper.SetOnTimer([&](TThreadTimer* sender) {
            sender->SetEnabled(false);
            http.Cancel();
        });
    }

    Mark("ready");
    Sleep(1000);
    const double cpu0 = ProcessCpuSeconds();
    const double t0 = Seconds();
    stopper.SetEnabled(mode == "silent");
    std::string result = "ok";
    try {
        http.Get(argv[2]);
    } catch (const std::exception& e) {
        result = e.what();
    }
    const double seconds = Seconds() - t0;
    const double cpu = ProcessCpuSeconds() - cpu0;
    char line[256];
    std::snprintf(line, sizeof line, "done bytes=%ld seconds=%.3f packets=%ld cpu=%.3f result=%s",
                  static_cast<long>(http.ReceivedCount()), seconds, packets, cpu, result.c_str());
    Mark(line);
    Sleep(2000);
    return 0;
}
