// The cost of one clock tick in the main window, and a soak run of the tick.
//   tick_bench            one tick whose second has changed (the analog
//                         repaint, the six time cells drawn through the glyph
//                         strip, the alarm check and the panel painting that
//                         follows), beside a bare repaint of an empty window of
//                         the same size, measured in the same run
//   tick_bench soak N     N ticks through the clock's own timer and message
//                         loop with the time seam a second further at every
//                         tick, and the process's GDI and USER objects and
//                         handles before and after
#include "analogclock/amclock.h"
#include "app/clock_layout.h"
#include "app/form1.h"
#include "app/main_window_probe.h"
#include "toolkit/panel.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include "message_loop.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr double kTickGoal = 0.4;

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return value(kernel) + value(user);
}

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

// One second later, with the minute, hour and day rolling over as a clock's do.
void NextSecond(LocalTime& time) {
    if (++time.second < 60) {
        return;
    }
    time.second = 0;
    if (++time.minute < 60) {
        return;
    }
    time.minute = 0;
    if (++time.hour < 24) {
        return;
    }
    time.hour = 0;
    time.day = time.day % 28 + 1;
}

struct Resources {
    DWORD gdi;
    DWORD user;
    DWORD handles;
    const char* how;
};

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine answers GetGuiResources and GetProcessHandleCount with 0; there the
// GDI objects are counted in the handle table it keeps in the process (entries
// of 24 bytes: the object, the owner, a generation, the type; type 0 is a free
// entry; the stock objects count too, and stay), and the kernel handles by
// asking after every handle value that could be in use.
struct WineGdiEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long user;
};
static_assert(sizeof(WineGdiEntry) == 24);

const WineGdiEntry* WineGdiTable() {
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) {
        return nullptr;
    }
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    // GdiSharedHandleTable lies at 0x94 in a 32-bit process's environment block.
    return *reinterpret_cast<const WineGdiEntry* const*>(peb + 0x94);
}

DWORD WineGdiObjects() {
    const WineGdiEntry* table = WineGdiTable();
    if (!table) {
        return 0;
    }
    DWORD count = 0;
    for (int i = 0; i < 0x10000; ++i) {
        if (table[i].type != 0) {
            ++count;
        }
    }
    return count;
}

DWORD WineKernelHandles() {
    DWORD count = 0;
    for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
        }
    }
    return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counter) {
    ++*reinterpret_cast<DWORD*>(counter);
    EnumChildWindows(window, CountWindow, counter);
    return TRUE;
}

DWORD ThreadWindows() {
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

Resources CountResources() {
    Resources counts{};
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    counts.how = "GetGuiResources, GetProcessHandleCount";
    if (counts.gdi == 0 && counts.handles == 0 && UnderWine()) {
        counts.gdi = WineGdiObjects();
        // No USER table is shared: the windows of the thread stand in for them.
        counts.user = ThreadWindows();
        counts.handles = WineKernelHandles();
        counts.how = "under Wine, which reports 0 there: its GDI handle table, the thread's "
                     "windows for the USER objects, the valid kernel handle values";
    }
    return counts;
}

// The main window in a folder of its own, with the alarm off so that no
// alarm minute the soak passes opens a message box, and the automatic update
// check off: half a minute into the run it would bind the network libraries
// once, which is no part of a tick.
class BenchClock {
  public:
    explicit BenchClock(LocalTime& now) {
        application_.Initialize();
        application_.SetTitle("Tikkora");
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = Narrow(temp) + "tikkora-bench\\";
        CreateDirectoryW(Widen(folder_).c_str(), nullptr);
        WritePrivateProfileStringW(L"Wecker", L"Aktiv", L"0",
                                   Widen(folder_ + "Tikkora.ini").c_str());
        WritePrivateProfileStringW(L"OnlineUpdate", L"Auto", L"0",
                                   Widen(folder_ + "Tikkora.ini").c_str());
        seams::SetProgramFilePathForTest(folder_ + "Tikkora.exe");
        seams::SetClockForTest([&now] { return now; });
        form_ = std::make_unique<TForm1>(application_);
        form_->CreateHandle();
        form_->Show();
        Pump();
    }
    ~BenchClock() {
        form_.reset();
        seams::ResetAllForTest();
        DeleteFileW(Widen(folder_ + "Tikkora.ini").c_str());
        RemoveDirectoryW(Widen(folder_).c_str());
    }
    TForm1& Form() { return *form_; }

  private:
    TApplication application_;
    std::string folder_;
    std::unique_ptr<TForm1> form_;
};

// A count that grows with every GDI object made: under Wine, the sum of the
// generation counts of its handle table, which go up as a slot is given to
// an object; elsewhere none is known (0).
unsigned long long GdiObjectsMade() {
    if (!UnderWine()) {
        return 0;
    }
    const WineGdiEntry* table = WineGdiTable();
    unsigned long long made = 0;
    for (int i = 0; table && i < 0x10000; ++i) {
        made += table[i].unique;
    }
    return made;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Span {
    double wall;
    double cpu;
};

// Runs step `count` times and returns the time per step, in microseconds.
template <typename Step> Span Measure(int count, Step step) {
    const double start = Seconds(), startCpu = CpuSeconds();
    for (int i = 0; i < count; ++i) {
        step(i);
    }
    return {(Seconds() - start) / count * 1e6, (CpuSeconds() - startCpu) / count * 1e6};
}

int TickFigures() {
    LocalTime now{2024, 3, 1, 12, 0, 30};
    BenchClock clock(now);
    TForm1& form = clock.Form();
    TAMClock& analog = *static_cast<TAMClock*>(
        TWindow::FromHandle(TMainWindowProbe(form).Window(ClockRow::AnalogClock)));
    HWND large = TMainWindowProbe(form).Window(ClockRow::Large);
    analog.SetVisible(true);  // one analog repaint per tick, as in analog mode
    analog.SetEnabled(false); // the bench drives the ticks itself
    // Baseline: invalidating and repainting the bare window, no drawing of ours.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 154, 69, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump();

    // The tick and the baseline take turns in short rounds, and each figure
    // is the median of its rounds: a machine busy with other work meanwhile
    // slows a round of either, not one side of the ratio for the whole run.
    // Wine counts a thread's CPU in steps of 10 ms: a round is long enough
    // for that to be a few per cent of it.
    const int rounds = 9;
    const int ticks = 2000;
    int tickCount = 0;
    auto newSecond = [&](int) {
        now.second = 2 + tickCount % 57; // never second 00 or 01: no alarm minute
        now.minute = (tickCount / 57) % 60;
        ++tickCount;
        analog.ClockTick();
        // The cells the tick changed are painted as the message loop would.
        UpdateWindow(large);
    };
    auto sameSecond = [&](int) {
        analog.ClockTick();
        UpdateWindow(large);
    };
    auto bare = [&](int) {
        InvalidateRect(plain, nullptr, TRUE);
        UpdateWindow(plain);
    };
    std::vector<double> tickWall, tickCpu, stillWall, stillCpu, bareWall, bareCpu, ratios;
    // What one object made adds to the counter, found with ten brushes.
    const unsigned long long gdiStart = GdiObjectsMade();
    for (int i = 0; i < 10; ++i) {
        DeleteObject(CreateSolidBrush(RGB(i, 0, 0)));
    }
    const double gdiUnit = static_cast<double>(GdiObjectsMade() - gdiStart) / 10;
    unsigned long long gdiMade = 0;
    for (int round = 0; round < rounds; ++round) {
        const unsigned long long gdiBefore = GdiObjectsMade();
        const Span tick = Measure(ticks, newSecond);
        gdiMade += GdiObjectsMade() - gdiBefore;
        const Span still = Measure(ticks, sameSecond);
        const Span baseline = Measure(ticks, bare);
        tickWall.push_back(tick.wall);
        tickCpu.push_back(tick.cpu);
        stillWall.push_back(still.wall);
        stillCpu.push_back(still.cpu);
        bareWall.push_back(baseline.wall);
        bareCpu.push_back(baseline.cpu);
        if (baseline.cpu > 0) {
            ratios.push_back(tick.cpu / baseline.cpu);
        }
    }
    DestroyWindow(plain);

    const double ratio = ratios.empty() ? 999 : Median(ratios);
    std::printf("%d rounds of %d each, taking turns; medians of the rounds (CPU min-max)\n", rounds,
                ticks);
    std::printf("one tick, new second (analog repaint, six cells, alarm check, panel paint): "
                "%7.1f us wall, %7.1f us CPU (%.1f-%.1f)\n",
                Median(tickWall), Median(tickCpu),
                *std::min_element(tickCpu.begin(), tickCpu.end()),
                *std::max_element(tickCpu.begin(), tickCpu.end()));
    std::printf("one tick, same second (a redraw, a time change):                          "
                "%7.1f us wall, %7.1f us CPU\n",
                Median(stillWall), Median(stillCpu));
    std::printf("baseline (repaint of an empty 154x69 window):                             "
                "%7.1f us wall, %7.1f us CPU (%.1f-%.1f)\n",
                Median(bareWall), Median(bareCpu),
                *std::min_element(bareCpu.begin(), bareCpu.end()),
                *std::max_element(bareCpu.begin(), bareCpu.end()));
    if (gdiUnit > 0) {
        std::printf("GDI objects made per tick of a new second: %.3f (a minute's date cells "
                    "included)\n",
                    static_cast<double>(gdiMade) / gdiUnit / (rounds * ticks));
    }
    std::printf("ratio one tick (new second) / bare repaint, CPU: %.2f  (goal <= %.1f) %s\n", ratio,
                kTickGoal, ratio <= kTickGoal ? "met" : "NOT MET");
    std::printf("ratio one tick (new second) / bare repaint, wall: %.2f\n",
                Median(tickWall) / Median(bareWall));
    return 0;
}

int Soak(long ticks) {
    LocalTime now{2024, 2, 27, 23, 58, 30};
    BenchClock clock(now);
    TForm1& form = clock.Form();
    TAMClock& analog = *static_cast<TAMClock*>(
        TWindow::FromHandle(TMainWindowProbe(form).Window(ClockRow::AnalogClock)));
    const Resources start = CountResources();
    // What the first ticks make once (a cell's first picture, the first paint
    // of the face in either mode) is not growth.
    const long warmUp = ticks / 100;
    Resources warm = start;
    long done = 0;
    analog.OnTimer = [&](TAMClock*) {
        NextSecond(now);
        ++done;
        if (done == warmUp) {
            warm = CountResources();
        }
        // Half the run with the face shown, half with it hidden, as the two
        // modes are; both are met during the warm-up.
        if (done == warmUp / 2 || done == warmUp - 1 || done == ticks / 2) {
            analog.SetVisible(!analog.Visible());
        }
        if (done >= ticks) {
            PostQuitMessage(0);
        }
    };
    const double begun = Seconds();
    analog.SetInterval(1);
    RunMessageLoop();
    analog.SetEnabled(false);
    Pump();
    const double elapsed = Seconds() - begun;
    const Resources after = CountResources();
    const bool held =
        after.gdi <= warm.gdi && after.user <= warm.user && after.handles <= warm.handles;
    std::printf(
        "soak: %ld ticks through the timer in %.1f s, ending %04d-%02d-%02d %02d:%02d:%02d\n", done,
        elapsed, now.year, now.month, now.day, now.hour, now.minute, now.second);
    std::printf("soak: at start, after %ld ticks, at the end: GDI objects %lu, %lu, %lu; USER "
                "objects %lu, %lu, %lu; handles %lu, %lu, %lu\n",
                warmUp, start.gdi, warm.gdi, after.gdi, start.user, warm.user, after.user,
                start.handles, warm.handles, after.handles);
    std::printf("soak: (goal: none grows after the first %ld ticks) %s\n", warmUp,
                held ? "met" : "NOT MET");
    std::printf("soak: counted by %s\n", after.how);
    return held ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "soak") == 0) {
        return Soak(argc >= 3 ? std::atol(argv[2]) : 100000);
    }
    return TickFigures();
}
