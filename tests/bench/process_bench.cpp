// Measures a window program from outside, the same way for Tikkora.exe and
// for the minimal baseline window, so their figures can stand side by side:
//   process_bench startup EXE... RUNS   time from start until its window is shown and painted,
//                                       the programs taking turns, one median line each
//   process_bench idle EXE SECONDS   CPU time used while it runs for SECONDS, and peak memory
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

struct Child {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;

    bool Start(const std::wstring& exe) {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info) != FALSE;
    }
    // Waits until a window of the child is visible and has nothing left to paint.
    bool WaitForFirstPaint(DWORD timeoutMs) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            Search search{info.dwProcessId, nullptr};
            EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
            if (search.found && !GetUpdateRect(search.found, nullptr, FALSE)) {
                window = search.found;
                return true;
            }
            Sleep(1);
        }
        return false;
    }
    void Stop() {
        if (window) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, 5000);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
};

// One start of exe until its first paint, in milliseconds; negative on failure.
double StartOnce(const std::wstring& exe) {
    Child child;
    double start = Now();
    if (!child.Start(exe)) {
        std::fprintf(stderr, "cannot start\n");
        return -1;
    }
    if (!child.WaitForFirstPaint(30000)) {
        std::fprintf(stderr, "no window\n");
        child.Stop();
        return -1;
    }
    double elapsed = (Now() - start) * 1000;
    child.Stop();
    return elapsed;
}

// The programs take turns, so a machine that slows down or speeds up during
// the run weighs on each of them alike.
int Startup(const std::vector<std::wstring>& exes, int runs) {
    std::vector<std::vector<double>> times(exes.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < exes.size(); ++i) {
            double elapsed = StartOnce(exes[i]);
            if (elapsed < 0) {
                return 1;
            }
            times[i].push_back(elapsed);
        }
    }
    for (auto& samples : times) {
        std::sort(samples.begin(), samples.end());
        std::printf("startup_ms median=%.1f min=%.1f max=%.1f runs=%d\n",
                    samples[samples.size() / 2], samples.front(), samples.back(), runs);
    }
    return 0;
}

int Idle(const std::wstring& exe, int seconds) {
    Child child;
    if (!child.Start(exe) || !child.WaitForFirstPaint(30000)) {
        std::fprintf(stderr, "cannot start\n");
        return 1;
    }
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    GetProcessTimes(child.info.hProcess, &created, &exited, &kernel0, &user0);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    GetProcessTimes(child.info.hProcess, &created, &exited, &kernel1, &user1);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(child.info.hProcess, &memory, sizeof(memory));
    double cpu = (Seconds(kernel1) - Seconds(kernel0)) + (Seconds(user1) - Seconds(user0));
    std::printf("cpu_s=%.3f over %d s (%.3f %% of one core) peak_working_set_kb=%lu\n", cpu,
                seconds, 100.0 * cpu / seconds,
                static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
    child.Stop();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"startup" && argc >= 4) {
        return Startup(std::vector<std::wstring>(argv + 2, argv + argc - 1), _wtoi(argv[argc - 1]));
    }
    if (mode == L"idle" && argc == 4) {
        return Idle(argv[2], _wtoi(argv[3]));
    }
    std::fprintf(stderr, "usage: process_bench startup EXE... N | idle EXE SECONDS\n");
    return 2;
}
